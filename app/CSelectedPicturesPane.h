#pragma once

#include <QLabel>

// The status bar's note of how many pictures are selected ("12 pictures selected"), which
// the next sort takes together; not shown while one picture or none is selected.
class CSelectedPicturesPane : public QLabel {
    Q_OBJECT
public:
    explicit CSelectedPicturesPane(QWidget* parent = nullptr);

    void SetNote(const QString& text);
};

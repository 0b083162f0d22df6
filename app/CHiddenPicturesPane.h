#pragma once

#include <QLabel>

// The status bar's note of the pictures the file-type filter keeps out of the list
// ("2 pictures of other types are hidden"); not shown while it hides none.
class CHiddenPicturesPane : public QLabel {
    Q_OBJECT
public:
    explicit CHiddenPicturesPane(QWidget* parent = nullptr);

    void SetCount(int count);
    int Count() const { return m_nCount; }

private:
    int m_nCount = 0;
};

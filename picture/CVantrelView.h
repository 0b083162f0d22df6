#pragma once

#include <QWidget>

// The picture view: hosts the imaging control.
class CVantrelView : public QWidget {
    Q_OBJECT
public:
    explicit CVantrelView(QWidget* parent = nullptr);

    // Runs once after the main window has created all three panes, left to right.
    virtual void OnInitialUpdate();
};

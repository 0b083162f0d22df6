#pragma once

#include <QWidget>

// The file browser pane: folder tree above the picture file list.
class CFileSelect : public QWidget {
    Q_OBJECT
public:
    explicit CFileSelect(QWidget* parent = nullptr);

    // Runs once after the main window has created all three panes, left to right.
    virtual void OnInitialUpdate();
};

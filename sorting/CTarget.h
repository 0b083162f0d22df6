#pragma once

#include <QWidget>

// The destination button bar: Delete, twenty destinations, Home, group tabs.
class CTarget : public QWidget {
    Q_OBJECT
public:
    explicit CTarget(QWidget* parent = nullptr);

    // Runs once after the main window has created all three panes, left to right.
    virtual void OnInitialUpdate();
};

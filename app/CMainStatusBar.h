#pragma once

#include <QStatusBar>

class QLabel;

inline constexpr int kFileCountPaneWidth = 60;

// The main window's status bar: a stretching message pane, the 60-pixel file count pane
// and the lock-key indicators. Command prompts cover the message pane while a menu item
// or tool button is hovered, then the message comes back.
class CMainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit CMainStatusBar(QWidget* parent = nullptr);

    void SetPaneText(int pane, const QString& text);
    QString PaneText(int pane) const;

private:
    QLabel* m_message;
    QLabel* m_fileCount;
    QLabel* m_indicators[3]; // CAP, NUM, SCRL: stay empty where lock keys cannot be read
};

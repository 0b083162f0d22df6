#pragma once

#include "platform/system/CLockKeys.h"

#include <QStatusBar>

class QLabel;

inline constexpr int kFileCountPaneWidth = 60;

// The main window's status bar: a stretching message pane, the scale the picture is shown
// at ("100 %", empty without a picture), the file count pane (60 pixels, or wider where the
// font needs it for "99999 files") and the lock-key indicators. Command
// prompts cover the message pane while a menu item or tool button is hovered, then the
// message comes back. A message too long for its pane is shortened to fit (a path in its
// middle), and fitted again whenever the pane's width changes.
class CMainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit CMainStatusBar(QWidget* parent = nullptr);

    void SetPaneText(int pane, const QString& text);
    // The text given to a pane, and the text it shows (shortened to fit); panes 2 to 4 are
    // the lock keys, "CAP", "NUM" and "SCRL" while on, empty while off or unknown.
    QString PaneText(int pane) const;
    QString ShownText(int pane) const;
    void SetZoomText(const QString& text);
    QString ZoomText() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowMessageFitted();
    void ShowLockKeys(const CLockKeys::State& state);

    QString m_strMessage;
    QLabel* m_message;
    QLabel* m_zoom;
    QLabel* m_fileCount;
    QLabel* m_indicators[3]; // CAP, NUM, SCRL: stay empty where lock keys cannot be read
    CLockKeys* m_lockKeys;
};

#pragma once

#include "app/WindowPlacement.h"

#include <QMargins>
#include <QObject>
#include <QRect>

class CSettings;
class QWidget;

// Keeps the window's outer rectangle (frame included) as the settings store it: puts the
// window there before it is first shown, takes the window manager's frame off the client
// once it is known (WindowPlacement), and tells the normal rectangle to store, also while
// the window is maximised or minimised.
class CFrameKeeper : public QObject {
    Q_OBJECT
public:
    CFrameKeeper(QWidget& window, const CSettings& settings);

    // The window was shown, moved or resized, or its state changed.
    void OnShown();
    void OnGeometry();
    void OnStateChanged();
    // The outer rectangle to store.
    QRect RectForSaving() const;

private:
    void MoveToStoredRect(const CSettings& settings);
    void Fit();
    // The window manager tells the frame's size after the first show, sometimes only with a
    // later move or not by any event at all: look again for a while.
    void Poll();
    QMargins FrameMargins() const;
    bool InNormalState() const;

    QWidget& m_window;
    WindowPlacement m_placement;
    bool m_bFirstShow = true;
};

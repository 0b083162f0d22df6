#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPalette>

class CFullScreenOverlay;
class CImageCtrl;
class CMessageBar;
class CPictureList;
class CSettings;
class QAction;
class QMainWindow;
class QSplitter;

// Full screen: the picture alone on the whole screen, on a dark background. The window
// keeps its actions, so every sorting key works as before; Up and Down (and the page keys)
// step through the pictures, the arrows sideways move a zoomed picture. Escape and the
// toggle itself leave. After each action a small overlay tells what was done and the
// destinations with their keys. Leaving puts back the panes, bars and window state as they
// were; the window's stored rectangle is never the full-screen one (the frame keeper only
// takes a normal window's).
class CFullScreen : public QObject {
    Q_OBJECT
public:
    struct Seams {
        QMainWindow* window;
        QSplitter* panes; // the picture view in the middle, the side panes hidden
        QAction* toggle;  // Full Screen
        QAction* clear;   // Clear Picture, which gives up Escape meanwhile
        CImageCtrl* ctrl;
        CPictureList* list;
        CMessageBar* messages; // what an action did, told in the overlay instead
        const CSettings* settings;
    };
    explicit CFullScreen(const Seams& seams, QObject* parent = nullptr);

    bool IsOn() const { return m_bOn; }
    void Toggle();
    void Enter();
    void Leave();
    CFullScreenOverlay* Overlay() const { return m_overlay; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct SSaved {
        QList<QWidget*> hidden; // what full screen hid, to show again
        QList<int> sizes;
        QPalette palette;
        QList<QKeySequence> toggleKeys;
        QList<QKeySequence> clearKeys;
        Qt::WindowStates state;
    };
    void HideAround();
    void ShowOverlay(const QString& heading);
    void Step(int delta);

    Seams m_seams;
    CFullScreenOverlay* m_overlay;
    SSaved m_saved;
    bool m_bOn = false;
};

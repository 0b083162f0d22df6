#pragma once

#include "app/CCommandBuilder.h"

#include <QObject>

class CFullScreen;
class CImageCtrl;
class CMainStatusBar;
class CMessageBar;
class CPictureList;
class CSettings;
class CZoomCommands;
class QMainWindow;
class QSplitter;

// How the picture is looked at: zoom and full screen. Built by the main window from the
// panes it acts on.
class CViewCommands : public QObject {
    Q_OBJECT
public:
    struct Seams {
        QMainWindow* window;
        QSplitter* panes;
        CImageCtrl* ctrl;
        CPictureList* list;
        CMessageBar* messages;
        CMainStatusBar* status;
        CSettings* settings;
    };
    CViewCommands(const CCommandBuilder::Actions& actions, const Seams& seams);

    CZoomCommands* Zoom() const { return m_zoom; }
    CFullScreen* FullScreen() const { return m_fullScreen; }

private:
    CZoomCommands* m_zoom;
    CFullScreen* m_fullScreen;
};

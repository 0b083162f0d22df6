#include "app/CViewCommands.h"

#include "app/CFullScreen.h"
#include "app/CZoomCommands.h"
#include "picture/view/CImageCtrl.h"
#include "resources/CommandIds.h"
#include "sorting/widgets/CPictureList.h"

#include <QMainWindow>

CViewCommands::CViewCommands(const CCommandBuilder::Actions& actions, const Seams& seams)
    : QObject(seams.window) {
    m_zoom =
        new CZoomCommands({actions.value(cmd::ID_ZOOM_IN), actions.value(cmd::ID_ZOOM_OUT),
                           actions.value(cmd::ID_ZOOM_ACTUAL), actions.value(cmd::ID_TOGGLE_RESIZE),
                           seams.ctrl, seams.list, seams.settings, seams.status},
                          this);
    m_fullScreen =
        new CFullScreen({seams.window, seams.panes, actions.value(cmd::ID_VIEW_FULL_SCREEN),
                         actions.value(cmd::ID_CLEAR_PICTURE), seams.ctrl, seams.list,
                         seams.messages, seams.settings},
                        this);
}

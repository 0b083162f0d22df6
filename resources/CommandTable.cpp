#include "resources/CommandTable.h"

#include "resources/CommandIds.h"

#include <array>

namespace commands {
namespace {

using namespace cmd;

constexpr std::array kFileMenu{
    MenuItem{"&Print...\tCtrl+P", ID_FILE_PRINT},
    MenuItem{"P&rint Setup...", ID_FILE_PRINT_SETUP},
    MenuItem{nullptr, kSeparator},
    MenuItem{"E&xit", ID_APP_EXIT},
};

// "Back" is the shortcut text the menu has always shown for Clear Picture;
// the key bound to it is Escape.
constexpr std::array kEditMenu{
    MenuItem{"C&lear Picture\tBack", ID_CLEAR_PICTURE},
    MenuItem{"Delete Picture\tDel", ID_DELETE_PICTURE},
    MenuItem{nullptr, kSeparator},
    MenuItem{"Program &Config", ID_PROGRAM_CONFIG},
    MenuItem{"&Target Directories", ID_TARGET_DIRECTORIES},
    MenuItem{"File &Types", ID_FILE_TYPES},
};

constexpr std::array kViewMenu{
    MenuItem{"&Toolbar", ID_VIEW_TOOLBAR},
    MenuItem{"&Status Bar", ID_VIEW_STATUS_BAR},
};

constexpr std::array kHelpMenu{
    MenuItem{"&About Vantrel...", ID_APP_ABOUT},
};

const std::array kMainMenu{
    Popup{"&File", kFileMenu},
    Popup{"&Edit", kEditMenu},
    Popup{"&View", kViewMenu},
    Popup{"&Help", kHelpMenu},
};

const std::array kAccelerators{
    Accelerator{Qt::ALT | Qt::Key_1, ID_BUTTON_GROUP1},
    Accelerator{Qt::ALT | Qt::Key_2, ID_BUTTON_GROUP2},
    Accelerator{Qt::ALT | Qt::Key_3, ID_BUTTON_GROUP3},
    Accelerator{Qt::ALT | Qt::Key_4, ID_BUTTON_GROUP4},
    Accelerator{Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},
    Accelerator{Qt::CTRL | Qt::Key_P, ID_FILE_PRINT},
    Accelerator{QKeyCombination(Qt::Key_Delete), ID_DELETE_PICTURE},
    Accelerator{QKeyCombination(Qt::Key_Escape), ID_CLEAR_PICTURE},
    Accelerator{QKeyCombination(Qt::Key_F5), ID_REFRESH_FILES},
    Accelerator{QKeyCombination(Qt::Key_F6), ID_NEXT_PANE},
    Accelerator{Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},
    Accelerator{QKeyCombination(Qt::Key_Home), ID_GO_TO_HOME},
    Accelerator{QKeyCombination(Qt::Key_Space), ID_TOGGLE_RESIZE},
};

constexpr std::array kToolbar{
    ToolbarButton{ID_GO_TO_HOME, ":/vantrel/toolbar/home.png"},
    ToolbarButton{ID_REFRESH_FILES, ":/vantrel/toolbar/refresh.png"},
    ToolbarButton{kSeparator, nullptr},
    ToolbarButton{ID_CLEAR_PICTURE, ":/vantrel/toolbar/clear.png"},
    ToolbarButton{ID_TOGGLE_RESIZE, ":/vantrel/toolbar/resize.png"},
    ToolbarButton{ID_DELETE_PICTURE, ":/vantrel/toolbar/delete.png"},
    ToolbarButton{kSeparator, nullptr},
    ToolbarButton{ID_PROGRAM_CONFIG, ":/vantrel/toolbar/config.png"},
    ToolbarButton{ID_TARGET_DIRECTORIES, ":/vantrel/toolbar/targets.png"},
    ToolbarButton{ID_FILE_TYPES, ":/vantrel/toolbar/filetypes.png"},
    ToolbarButton{kSeparator, nullptr},
    ToolbarButton{ID_FILE_PRINT, ":/vantrel/toolbar/print.png"},
    ToolbarButton{ID_APP_ABOUT, ":/vantrel/toolbar/about.png"},
};

constexpr std::array kAllIds{
    ID_PROGRAM_CONFIG,  ID_TARGET_DIRECTORIES, ID_CLEAR_PICTURE, ID_DELETE_PICTURE,
    ID_TOGGLE_RESIZE,   ID_FILE_TYPES,         ID_GO_TO_HOME,    ID_REFRESH_FILES,
    ID_BUTTON_GROUP1,   ID_BUTTON_GROUP2,      ID_BUTTON_GROUP3, ID_BUTTON_GROUP4,
    ID_FILE_PRINT,      ID_FILE_PRINT_SETUP,   ID_APP_EXIT,      ID_APP_ABOUT,
    ID_EDIT_COPY,       ID_NEXT_PANE,          ID_PREV_PANE,     ID_VIEW_TOOLBAR,
    ID_VIEW_STATUS_BAR,
};

} // namespace

std::span<const Popup> MainMenu() {
    return kMainMenu;
}
std::span<const Accelerator> MainAccelerators() {
    return kAccelerators;
}
std::span<const ToolbarButton> MainToolbar() {
    return kToolbar;
}
std::span<const int> AllCommandIds() {
    return kAllIds;
}

const char* MenuText(int id) {
    for (const Popup& popup : kMainMenu)
        for (const MenuItem& item : popup.items)
            if (item.id == id && item.text)
                return item.text;
    return "";
}

} // namespace commands

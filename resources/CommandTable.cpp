#include "resources/CommandTable.h"

#include "resources/CommandIds.h"

#include <array>
#include <vector>

namespace commands {
namespace {

using namespace cmd;

constexpr std::array kFileMenu{
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Print...\tCtrl+P"), ID_FILE_PRINT},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "P&rint Setup..."), ID_FILE_PRINT_SETUP},
    MenuItem{nullptr, kSeparator},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "E&xit"), ID_APP_EXIT},
};

// Clear Picture answers to Escape and to Backspace ("Back" in the menu).
constexpr std::array kEditMenu{
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Undo\tCtrl+Z"), ID_EDIT_UNDO},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Redo\tCtrl+Y"), ID_EDIT_REDO},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&History..."), ID_EDIT_HISTORY},
    MenuItem{nullptr, kSeparator},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "C&lear Picture\tBack"), ID_CLEAR_PICTURE},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "Delete Picture\tDel"), ID_DELETE_PICTURE},
    MenuItem{nullptr, kSeparator},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "Program &Config"), ID_PROGRAM_CONFIG},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Target Directories"), ID_TARGET_DIRECTORIES},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "File &Types"), ID_FILE_TYPES},
};

// One order of the list is checked, and one direction.
constexpr std::array kSortByMenu{
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Name"), ID_SORT_BY_NAME},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "Date &Taken"), ID_SORT_BY_DATE_TAKEN},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "Date &Modified"), ID_SORT_BY_DATE_MODIFIED},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Size"), ID_SORT_BY_SIZE},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "T&ype"), ID_SORT_BY_TYPE},
    MenuItem{nullptr, kSeparator},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Ascending"), ID_SORT_ASCENDING},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Descending"), ID_SORT_DESCENDING},
};
constexpr Popup kSortByPopup{QT_TRANSLATE_NOOP("CommandTable", "Sort &By"), kSortByMenu};

// Fit to Window is the toolbar's resize toggle, checked while pictures are fitted.
constexpr std::array kViewMenu{
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Fit to Window\tSpace"), ID_TOGGLE_RESIZE},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "Zoom &In\t+"), ID_ZOOM_IN},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "Zoom &Out\t-"), ID_ZOOM_OUT},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Actual Size\tZ"), ID_ZOOM_ACTUAL},
    MenuItem{nullptr, kSeparator},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "F&ull Screen\tF11"), ID_VIEW_FULL_SCREEN},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "Fil&mstrip"), ID_VIEW_FILMSTRIP},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "Picture &Information\tI"), ID_VIEW_PICTURE_INFO},
    MenuItem{nullptr, kSeparator},
    MenuItem{kSortByPopup.text, kSubmenu, &kSortByPopup},
    MenuItem{nullptr, kSeparator},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Toolbar"), ID_VIEW_TOOLBAR},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Status Bar"), ID_VIEW_STATUS_BAR},
};

constexpr std::array kHelpMenu{
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&Keyboard Shortcuts"), ID_HELP_KEYBOARD},
    MenuItem{nullptr, kSeparator},
    MenuItem{QT_TRANSLATE_NOOP("CommandTable", "&About Vantrel..."), ID_APP_ABOUT},
};

const std::array kMainMenu{
    Popup{QT_TRANSLATE_NOOP("CommandTable", "&File"), kFileMenu},
    Popup{QT_TRANSLATE_NOOP("CommandTable", "&Edit"), kEditMenu},
    Popup{QT_TRANSLATE_NOOP("CommandTable", "&View"), kViewMenu},
    Popup{QT_TRANSLATE_NOOP("CommandTable", "&Help"), kHelpMenu},
};

const std::array kCommandAccelerators{
    Accelerator{Qt::ALT | Qt::Key_1, ID_BUTTON_GROUP1},
    Accelerator{Qt::ALT | Qt::Key_2, ID_BUTTON_GROUP2},
    Accelerator{Qt::ALT | Qt::Key_3, ID_BUTTON_GROUP3},
    Accelerator{Qt::ALT | Qt::Key_4, ID_BUTTON_GROUP4},
    Accelerator{Qt::CTRL | Qt::Key_C, ID_EDIT_COPY},
    Accelerator{Qt::CTRL | Qt::Key_P, ID_FILE_PRINT},
    Accelerator{Qt::CTRL | Qt::Key_Z, ID_EDIT_UNDO},
    Accelerator{Qt::CTRL | Qt::Key_Y, ID_EDIT_REDO},
    Accelerator{Qt::CTRL | Qt::SHIFT | Qt::Key_Z, ID_EDIT_REDO},
    Accelerator{QKeyCombination(Qt::Key_Delete), ID_DELETE_PICTURE},
    Accelerator{QKeyCombination(Qt::Key_Escape), ID_CLEAR_PICTURE},
    Accelerator{QKeyCombination(Qt::Key_Backspace), ID_CLEAR_PICTURE},
    Accelerator{QKeyCombination(Qt::Key_F5), ID_REFRESH_FILES},
    Accelerator{QKeyCombination(Qt::Key_F6), ID_NEXT_PANE},
    Accelerator{Qt::SHIFT | Qt::Key_F6, ID_PREV_PANE},
    Accelerator{QKeyCombination(Qt::Key_Home), ID_GO_TO_HOME},
    Accelerator{QKeyCombination(Qt::Key_Space), ID_TOGGLE_RESIZE},
    Accelerator{QKeyCombination(Qt::Key_F11), ID_VIEW_FULL_SCREEN},
    Accelerator{QKeyCombination(Qt::Key_Plus), ID_ZOOM_IN},
    Accelerator{QKeyCombination(Qt::Key_Equal), ID_ZOOM_IN},
    Accelerator{Qt::KeypadModifier | Qt::Key_Plus, ID_ZOOM_IN},
    Accelerator{QKeyCombination(Qt::Key_Minus), ID_ZOOM_OUT},
    Accelerator{Qt::KeypadModifier | Qt::Key_Minus, ID_ZOOM_OUT},
    Accelerator{QKeyCombination(Qt::Key_Z), ID_ZOOM_ACTUAL},
    Accelerator{QKeyCombination(Qt::Key_I), ID_VIEW_PICTURE_INFO},
};

// Destinations 1 to 10 of the group shown take the digits 1 to 9 and 0, destinations 11 to
// 20 the same digits with Ctrl; the keypad's digits do the same. The plain key comes first:
// it is the one the buttons show.
constexpr int kKeysPerTarget = 2;
using TargetKeys = std::array<Accelerator, kSendToTargetCount * kKeysPerTarget>;

TargetKeys MakeTargetKeys() {
    TargetKeys keys{};
    for (int i = 0; i < kSendToTargetCount; ++i) {
        const int digit = (i % 10 + 1) % 10;
        const auto key = Qt::Key(Qt::Key_0 + digit);
        const Qt::KeyboardModifiers mods = i < 10 ? Qt::NoModifier : Qt::ControlModifier;
        keys[std::size_t(i) * kKeysPerTarget] = {QKeyCombination(mods, key),
                                                 ID_SEND_TO_TARGET1 + i};
        keys[std::size_t(i) * kKeysPerTarget + 1] = {
            QKeyCombination(mods | Qt::KeypadModifier, key), ID_SEND_TO_TARGET1 + i};
    }
    return keys;
}

const std::vector<Accelerator> kAccelerators = [] {
    std::vector<Accelerator> all(kCommandAccelerators.begin(), kCommandAccelerators.end());
    const TargetKeys targets = MakeTargetKeys();
    all.insert(all.end(), targets.begin(), targets.end());
    return all;
}();

// Keys the panes handle themselves, listed with the accelerators in the shortcut list.
constexpr std::array kPaneKeys{
    PaneKey{QT_TRANSLATE_NOOP("CommandTable", "Tab, Shift+Tab"),
            QT_TRANSLATE_NOOP("CommandTable",
                              "Move the keyboard focus to the next or previous control")},
    PaneKey{
        QT_TRANSLATE_NOOP("CommandTable", "Up, Down, Left, Right"),
        QT_TRANSLATE_NOOP("CommandTable", "Step through the folders, the pictures or the buttons")},
    PaneKey{QT_TRANSLATE_NOOP("CommandTable", "Page Up, Page Down, Ctrl+Home, End"),
            QT_TRANSLATE_NOOP("CommandTable", "Jump through the folders or the pictures")},
    PaneKey{QT_TRANSLATE_NOOP("CommandTable", "Return, Enter"),
            QT_TRANSLATE_NOOP("CommandTable", "Press the button that has the keyboard focus")},
    PaneKey{
        QT_TRANSLATE_NOOP("CommandTable", "Menu"),
        QT_TRANSLATE_NOOP("CommandTable",
                          "Open the context menu of the destination button that has the focus")},
    PaneKey{QT_TRANSLATE_NOOP("CommandTable", "Alt+F, Alt+E, Alt+V, Alt+H"),
            QT_TRANSLATE_NOOP("CommandTable", "Open the menus")},
    PaneKey{QT_TRANSLATE_NOOP("CommandTable", "Left, Right, Up, Down in the picture"),
            QT_TRANSLATE_NOOP("CommandTable", "Move a zoomed picture (Ctrl: by a screen)")},
    PaneKey{QT_TRANSLATE_NOOP("CommandTable", "Ctrl+Wheel"),
            QT_TRANSLATE_NOOP("CommandTable", "Zoom in or out at the pointer")},
    PaneKey{QT_TRANSLATE_NOOP("CommandTable", "Up, Down, Page Up, Page Down in full screen"),
            QT_TRANSLATE_NOOP("CommandTable", "Step through the pictures")},
    PaneKey{QT_TRANSLATE_NOOP("CommandTable", "Escape in full screen"),
            QT_TRANSLATE_NOOP("CommandTable", "Leave full screen")},
};

constexpr std::array kToolbar{
    ToolbarButton{ID_GO_TO_HOME, ":/vantrel/toolbar/home.png"},
    ToolbarButton{ID_REFRESH_FILES, ":/vantrel/toolbar/refresh.png"},
    ToolbarButton{kSeparator, nullptr},
    ToolbarButton{ID_CLEAR_PICTURE, ":/vantrel/toolbar/clear.png"},
    ToolbarButton{ID_TOGGLE_RESIZE, ":/vantrel/toolbar/resize.png"},
    ToolbarButton{ID_DELETE_PICTURE, ":/vantrel/toolbar/delete.png"},
    ToolbarButton{ID_EDIT_UNDO, ":/vantrel/toolbar/undo.png"},
    ToolbarButton{ID_EDIT_REDO, ":/vantrel/toolbar/redo.png"},
    ToolbarButton{kSeparator, nullptr},
    ToolbarButton{ID_PROGRAM_CONFIG, ":/vantrel/toolbar/config.png"},
    ToolbarButton{ID_TARGET_DIRECTORIES, ":/vantrel/toolbar/targets.png"},
    ToolbarButton{ID_FILE_TYPES, ":/vantrel/toolbar/filetypes.png"},
    ToolbarButton{kSeparator, nullptr},
    ToolbarButton{ID_FILE_PRINT, ":/vantrel/toolbar/print.png"},
    ToolbarButton{ID_APP_ABOUT, ":/vantrel/toolbar/about.png"},
};

constexpr std::array kAllIds{
    ID_PROGRAM_CONFIG,
    ID_TARGET_DIRECTORIES,
    ID_CLEAR_PICTURE,
    ID_DELETE_PICTURE,
    ID_TOGGLE_RESIZE,
    ID_FILE_TYPES,
    ID_GO_TO_HOME,
    ID_REFRESH_FILES,
    ID_BUTTON_GROUP1,
    ID_BUTTON_GROUP2,
    ID_BUTTON_GROUP3,
    ID_BUTTON_GROUP4,
    ID_FILE_PRINT,
    ID_FILE_PRINT_SETUP,
    ID_APP_EXIT,
    ID_APP_ABOUT,
    ID_EDIT_COPY,
    ID_NEXT_PANE,
    ID_PREV_PANE,
    ID_VIEW_TOOLBAR,
    ID_VIEW_STATUS_BAR,
    ID_HELP_KEYBOARD,
    ID_EDIT_UNDO,
    ID_EDIT_REDO,
    ID_EDIT_HISTORY,
    ID_VIEW_FULL_SCREEN,
    ID_ZOOM_IN,
    ID_ZOOM_OUT,
    ID_ZOOM_ACTUAL,
    ID_VIEW_FILMSTRIP,
    ID_VIEW_PICTURE_INFO,
    ID_SORT_BY_NAME,
    ID_SORT_BY_DATE_TAKEN,
    ID_SORT_BY_DATE_MODIFIED,
    ID_SORT_BY_SIZE,
    ID_SORT_BY_TYPE,
    ID_SORT_ASCENDING,
    ID_SORT_DESCENDING,
};

// The command ids, then one per destination key.
const std::vector<int> kAllIdsWithTargets = [] {
    std::vector<int> all(kAllIds.begin(), kAllIds.end());
    for (int i = 0; i < kSendToTargetCount; ++i)
        all.push_back(ID_SEND_TO_TARGET1 + i);
    return all;
}();

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
    return kAllIdsWithTargets;
}
std::span<const PaneKey> PaneKeys() {
    return kPaneKeys;
}

QKeyCombination PrimaryKey(int id) {
    for (const Accelerator& a : kAccelerators)
        if (a.id == id)
            return a.key;
    return QKeyCombination();
}

namespace {
const char* MenuTextIn(const Popup& popup, int id) {
    for (const MenuItem& item : popup.items) {
        if (item.submenu)
            if (const char* text = MenuTextIn(*item.submenu, id))
                return text;
        if (item.id == id && item.text)
            return item.text;
    }
    return nullptr;
}
} // namespace

const char* MenuText(int id) {
    for (const Popup& popup : kMainMenu)
        if (const char* text = MenuTextIn(popup, id))
            return text;
    return "";
}

} // namespace commands

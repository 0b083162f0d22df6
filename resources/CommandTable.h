#pragma once

#include <QKeySequence>
#include <span>

// The main window's menus, accelerator table and toolbar, as data. The builder in
// app/ turns them into one QAction per command id.
namespace commands {

inline constexpr int kSeparator = 0;
inline constexpr int kSubmenu = -1;

struct Popup;

struct MenuItem {
    const char* text;               // with & for the mnemonic and a tab before the shortcut text
    int id;                         // kSeparator for a separator line, kSubmenu for a submenu
    const Popup* submenu = nullptr; // the items of a submenu
};

struct Popup {
    const char* text;
    std::span<const MenuItem> items;
};

struct Accelerator {
    QKeyCombination key;
    int id;
};

// A key a pane handles itself, not through a command: its text and what it does.
struct PaneKey {
    const char* keys;
    const char* what;
};

struct ToolbarButton {
    int id;           // kSeparator for a gap
    const char* icon; // resource path of the button image, null for a gap
};

std::span<const Popup> MainMenu();
std::span<const Accelerator> MainAccelerators();
std::span<const ToolbarButton> MainToolbar();

// Every command id the main window knows, each once, in a stable order.
std::span<const int> AllCommandIds();
std::span<const PaneKey> PaneKeys();

// The first key bound to a command (the one to show beside it); empty when it has none.
QKeyCombination PrimaryKey(int id);

// The menu text of a command (empty when it has no menu item).
const char* MenuText(int id);

} // namespace commands

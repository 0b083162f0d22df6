#pragma once

#include <QString>
#include <vector>

// Every key of the program with what it does, for the keyboard shortcut list: the
// accelerator table first (the keys of one command together), then the keys the panes
// handle themselves.
namespace commands {

struct ShortcutRow {
    QString keys; // as shown to the user, several joined by ", "
    QString what;
};

std::vector<ShortcutRow> ShortcutRows();

} // namespace commands

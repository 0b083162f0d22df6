#pragma once

#include "resources/CommandTable.h"

#include <QHash>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

// Turns the command tables of resources/ into the main window's actions, menu bar and
// toolbar: one QAction per command id with its text, shortcuts, prompt and tooltip.
class CCommandBuilder {
public:
    using Actions = QHash<int, QAction*>;

    // Creates every command's action on `owner`, so its shortcuts work anywhere in it.
    static Actions CreateActions(QWidget* owner);
    static void BuildMenuBar(QMenuBar* bar, const Actions& actions);
    static void BuildToolBar(QToolBar* bar, const Actions& actions);
    // View > Toolbar and View > Status Bar show and hide the bars, checked while shown.
    static void BindBarToggles(const Actions& actions, QToolBar* toolBar, QWidget* statusBar);

private:
    static void AddItems(QMenu* menu, const commands::Popup& popup, const Actions& actions);
};

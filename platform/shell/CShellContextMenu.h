#pragma once

#include "platform/shell/CItemIdList.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

class CFileActionHook;
class CShellFolder;
class QPoint;
class QWidget;

// The context menu of a tree or list item: what a file manager offers for the object.
// Open, Copy and Properties are built in; other parts of the program add their commands
// (Rename, Move to Trash) by registering a provider, without this menu knowing them.
class CShellContextMenu {
public:
    // The object the menu is for.
    struct Item {
        QByteArray path; // file-system path as bytes; empty outside the file system
        QString name;    // display name
        bool isFolder = false;
    };
    struct Command {
        int order = 0; // place in the menu: Open 100, Copy 200, Properties 900
        QString text;
        // Carries the command out; returns true when the object changed on disk (renamed,
        // moved away, deleted), so that the view showing it can update itself.
        // Actions on files pass `recorder` (the undo journal; may be null).
        std::function<bool(QWidget* owner, CFileActionHook* recorder)> invoke;
    };
    // Adds its commands for `item` to the list.
    using Provider = std::function<void(const Item& item, QList<Command>& commands)>;

    static int AddProvider(Provider provider); // returns a handle for RemoveProvider
    static void RemoveProvider(int handle);

    // The object named by a folder and a child of it.
    static Item ItemOf(CShellFolder* folder, LPCITEMIDLIST pidlRel);
    // The commands offered for an item, in menu order.
    static QList<Command> CommandsFor(const Item& item);
    // Shows the menu at a screen point, owned by `owner`, and carries out the chosen
    // command, whose actions on files pass `recorder`. True when that command reports that
    // the object changed on disk.
    static bool Track(QWidget* owner, CShellFolder* folder, LPCITEMIDLIST pidlRel,
                      const QPoint& screenPoint, CFileActionHook* recorder);
};

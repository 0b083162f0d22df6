#pragma once

#include "platform/shell/CShellContextMenu.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

class CFileActionHook;
class QWidget;

// The context menu's "Rename..." and "Move to Trash" for files and folders, carried out by
// the file-operation layer with its dialogs: a rename never takes a name that is in use,
// and Move to Trash only ever moves into the trash. Drives, the file-system root and the
// home folder are left alone, as are items outside the file system.
class CFileCommandsProvider {
public:
    // Adds the commands to every context menu from now on; later calls change nothing.
    // Returns the provider's handle.
    static int Register();
    static void AddCommands(const CShellContextMenu::Item& item,
                            QList<CShellContextMenu::Command>& commands);

    // Asks for a new name and renames, recorded by `recorder` when there is one; true when
    // the item now has it.
    static bool Rename(QWidget* owner, const QByteArray& path, bool bFolder,
                       CFileActionHook* recorder = nullptr);
    // True when the item is in the trash.
    static bool MoveToTrash(QWidget* owner, const QByteArray& path,
                            CFileActionHook* recorder = nullptr);

private:
    static bool Offered(const QByteArray& path);
    static std::optional<QString> AskName(QWidget* owner, const QString& current, bool bFolder);
};

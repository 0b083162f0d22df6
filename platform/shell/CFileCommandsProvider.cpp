#include "platform/shell/CFileCommandsProvider.h"

#include "platform/files/CFileActionHook.h"
#include "platform/files/CFileOperations.h"
#include "platform/shell/CDesktopFolder.h"
#include "platform/system/CNativePath.h"
#include "platform/ui/CFileOpDialogs.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>
#include <sys/stat.h>

int CFileCommandsProvider::Register() {
    static const int s_nHandle = CShellContextMenu::AddProvider(&AddCommands);
    return s_nHandle;
}

void CFileCommandsProvider::AddCommands(const CShellContextMenu::Item& item,
                                        QList<CShellContextMenu::Command>& commands) {
    if (!Offered(item.path))
        return;
    const QByteArray path = item.path;
    const bool bFolder = item.isFolder;
    commands.append({300, QCoreApplication::translate("CFileCommandsProvider", "Rename..."),
                     [path, bFolder](QWidget* owner, CFileActionHook* recorder) {
                         return Rename(owner, path, bFolder, recorder);
                     }});
    commands.append({400, QCoreApplication::translate("CFileCommandsProvider", "Move to Trash"),
                     [path](QWidget* owner, CFileActionHook* recorder) {
                         return MoveToTrash(owner, path, recorder);
                     }});
}

// Anything in the file system but the top of a mount (the root, a drive) and the home
// folder, which are not the user's to rename or throw away from here.
bool CFileCommandsProvider::Offered(const QByteArray& path) {
    if (path.isEmpty() || path == CDesktopFolder::HomePath())
        return false;
    struct stat self {};
    struct stat parent {};
    if (::lstat(path.constData(), &self) != 0 ||
        ::stat(CNativePath::DirName(path).constData(), &parent) != 0)
        return true; // gone already: the command itself reports that
    const bool bMountTop = self.st_dev != parent.st_dev || self.st_ino == parent.st_ino;
    return !bMountTop;
}

bool CFileCommandsProvider::Rename(QWidget* owner, const QByteArray& path, bool bFolder,
                                   CFileActionHook* recorder) {
    const QString current = CNativePath::Display(CNativePath::FileName(path));
    const std::optional<QString> typed = AskName(owner, current, bFolder);
    // An unchanged text keeps the name: for a name that is not valid UTF-8 the text is only
    // a likeness of its bytes.
    if (!typed || *typed == current)
        return false;
    CFileOpDialogs ui(owner);
    CFileOperations ops(ui);
    const QByteArray newName = CNativePath::FromText(*typed);
    return CFileActionHook::PerformOne(
               recorder, CFileAction::Kind::Rename, path, newName,
               [&](const QByteArray& file) { return ops.Rename(file, newName); })
        .Succeeded();
}

bool CFileCommandsProvider::MoveToTrash(QWidget* owner, const QByteArray& path,
                                        CFileActionHook* recorder) {
    CFileOpDialogs ui(owner);
    CFileOperations ops(ui);
    return CFileActionHook::PerformOne(
               recorder, CFileAction::Kind::Trash, path, {},
               [&](const QByteArray& file) { return ops.Delete(file, true); })
        .Succeeded();
}

// The name with the part before the extension selected, so that typing keeps the type; a
// folder's name or one that begins with its only dot is selected whole.
std::optional<QString> CFileCommandsProvider::AskName(QWidget* owner, const QString& current,
                                                      bool bFolder) {
    QInputDialog dlg(owner);
    dlg.setWindowTitle(QCoreApplication::translate("CFileCommandsProvider", "Rename"));
    dlg.setLabelText(QCoreApplication::translate("CFileCommandsProvider", "New name:"));
    dlg.setTextValue(current);
    const qsizetype dot = current.lastIndexOf(QLatin1Char('.'));
    const int selected = int(!bFolder && dot > 0 ? dot : current.size());
    // The dialog selects all of its text as it shows, so the selection is made just after.
    QTimer::singleShot(0, &dlg, [&dlg, selected] {
        if (auto* edit = dlg.findChild<QLineEdit*>())
            edit->setSelection(0, selected);
    });
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.textValue();
}

#include "dialogs/CDestinationCheck.h"

#include "platform/ui/ShowMessage.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

CDestinationCheck::EState CDestinationCheck::StateOf(const QString& dir) {
    if (dir.trimmed().isEmpty())
        return EState::Ready;
    const QByteArray path = QFile::encodeName(QDir::fromNativeSeparators(dir));
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return errno == ENOENT ? EState::Missing : EState::NotWritable;
    if (!S_ISDIR(st.st_mode))
        return EState::NotAFolder;
    // The program's own rights, as the sort will use them (a read-only mount counts).
    if (::faccessat(AT_FDCWD, path.constData(), W_OK | X_OK, AT_EACCESS) != 0)
        return EState::NotWritable;
    return EState::Ready;
}

bool CDestinationCheck::Confirm(QWidget* owner, const QString& dir, const QString& what) {
    const QString shown = QDir::toNativeSeparators(dir);
    switch (StateOf(dir)) {
    case EState::Ready:
        return true;
    case EState::NotAFolder:
        ShowMessage(owner, QCoreApplication::translate(
                               "CDestinationCheck",
                               "%1 is not a folder: pictures cannot be sorted into it (%2).")
                               .arg(shown, what));
        return false;
    case EState::NotWritable:
        ShowMessage(owner, QCoreApplication::translate(
                               "CDestinationCheck",
                               "Pictures cannot be sorted into %1 (%2): the folder cannot be "
                               "written to.")
                               .arg(shown, what));
        return false;
    case EState::Missing:
        break;
    }
    const auto answer = QMessageBox::question(
        owner, strings::Load(strings::IDS_APP_TITLE),
        QCoreApplication::translate("CDestinationCheck",
                                    "The folder %1 (%2) does not exist. Make it now?")
            .arg(shown, what),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return false;
    if (QDir().mkpath(QDir::fromNativeSeparators(dir)) && StateOf(dir) == EState::Ready)
        return true;
    ShowMessage(owner,
                QCoreApplication::translate("CDestinationCheck", "The folder %1 could not be made.")
                    .arg(shown));
    return false;
}

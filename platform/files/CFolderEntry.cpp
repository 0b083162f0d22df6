#include "platform/files/CFolderEntry.h"

#include "platform/files/CDiskCalls.h"
#include "platform/files/CFolderHandle.h"
#include "platform/files/CNoReplaceRename.h"
#include "platform/system/CNativePath.h"

#include <QCoreApplication>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

CFolderEntry::CFolderEntry(const CFolderHandle& folder, QByteArray name,
                           std::optional<CFileIdentity> shown)
    : m_pFolder(&folder), m_name(std::move(name)), m_shown(shown) {
}

QByteArray CFolderEntry::Path() const {
    return CNativePath::Join(m_pFolder->Path(), m_name);
}

int CFolderEntry::Stat(struct stat& st, bool bFollow) const {
    if (m_pFolder->Fd() < 0)
        return m_pFolder->Error();
    const int flags = bFollow ? 0 : AT_SYMLINK_NOFOLLOW;
    return ::fstatat(m_pFolder->Fd(), m_name.constData(), &st, flags) == 0 ? 0 : errno;
}

bool CFolderEntry::Exists() const {
    struct stat st {};
    return Stat(st) == 0;
}

QString CFolderEntry::NotAsShown(const struct stat& st) const {
    if (!m_shown || CFileIdentity::Of(st) == *m_shown)
        return {};
    return FileReplacedText();
}

QString CFolderEntry::FolderProblem() const {
    return m_pFolder->Error() == CFolderHandle::kReplaced ? FolderReplacedText() : QString();
}

int CFolderEntry::RenameTo(const QByteArray& target) const {
    return CNoReplaceRename::RenameAt(m_pFolder->Fd(), m_name.constData(), AT_FDCWD,
                                      target.constData());
}

int CFolderEntry::TakeBack(const QByteArray& from) const {
    return CNoReplaceRename::RenameAt(AT_FDCWD, from.constData(), m_pFolder->Fd(),
                                      m_name.constData());
}

int CFolderEntry::Unlink(const CFileIdentity& expected) const {
    CDiskCalls system;
    return Unlink(expected, system);
}

int CFolderEntry::Unlink(const CFileIdentity& expected, CDiskCalls& calls) const {
    if (!(CFileIdentity::At(m_pFolder->Fd(), m_name.constData()) == expected))
        return ESTALE;
    return calls.Unlink(m_pFolder->Fd(), m_name.constData()) == 0 ? 0 : errno;
}

QString CFolderEntry::FolderReplacedText() {
    return QCoreApplication::translate(
        "CFolderEntry", "its folder has been replaced since it was listed (the folder's path "
                        "now leads to another folder), so nothing was done");
}

QString CFolderEntry::FileReplacedText() {
    return QCoreApplication::translate(
        "CFolderEntry", "another file has taken its name since it was shown, so nothing was "
                        "done; look at the picture again before sorting it");
}

#pragma once

#include "platform/files/CFileIdentity.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <sys/stat.h>

class CDiskCalls;
class CFolderHandle;

// A file of a folder opened for an action, always looked up by its name through the
// folder's descriptor, never through the folder's path again. `shown` is the identity the
// file had when the user was shown it (unknown: no file was there then); the file
// operations act on no other file of that name. Without it, whatever file has the name is
// taken. The folder must outlive the entry.
class CFolderEntry {
public:
    CFolderEntry(const CFolderHandle& folder, QByteArray name,
                 std::optional<CFileIdentity> shown = std::nullopt);

    const CFolderHandle& Folder() const { return *m_pFolder; }
    const QByteArray& Name() const { return m_name; }
    // The folder's path and the name, for messages and records.
    QByteArray Path() const;

    // The entry (a final link not followed, unless bFollow): 0, or the errno.
    int Stat(struct stat& st, bool bFollow = false) const;
    bool Exists() const;
    // Why the file the name leads to now (st) is not to be acted on: empty when it is the
    // file that was shown, or none was.
    QString NotAsShown(const struct stat& st) const;
    // FolderReplacedText when the folder's path led to another folder than the listed one;
    // empty otherwise (a folder that could not be opened for another reason fails Stat).
    QString FolderProblem() const;

    // Renames the entry to `target` without replacing anything there: 0, or the errno.
    int RenameTo(const QByteArray& target) const;
    // Puts the file at `from` back under the entry's name, replacing nothing: 0, or errno.
    int TakeBack(const QByteArray& from) const;
    // Removes the entry when it is still the file `expected`: 0, ESTALE when another file
    // has the name now, or the errno.
    int Unlink(const CFileIdentity& expected) const;
    // The same, removing it through `calls`.
    int Unlink(const CFileIdentity& expected, CDiskCalls& calls) const;

    // The reasons given when the folder or the file is not the one that was shown.
    static QString FolderReplacedText();
    static QString FileReplacedText();

private:
    const CFolderHandle* m_pFolder;
    QByteArray m_name;
    std::optional<CFileIdentity> m_shown;
};

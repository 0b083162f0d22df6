#pragma once

#include "platform/files/CFileIdentity.h"
#include "platform/files/CFolderHandle.h"

#include <QByteArray>

// A folder as it was listed: its path, the identity of the folder that path led to, and
// whether the path itself was a symbolic link then. An action on one of its files opens it
// again through Open, which hands out a descriptor only while the path still leads to that
// same folder, and never follows a link that was not there when the folder was listed.
class CListedFolder {
public:
    CListedFolder() = default;
    // The folder at `path` as it is now.
    static CListedFolder Take(const QByteArray& path);
    // The folder at `path` that the descriptor `fd`, opened through that path, lists (-1:
    // none, taken as it is now).
    static CListedFolder Of(const QByteArray& path, int fd);

    const QByteArray& Path() const { return m_path; }
    bool IsKnown() const { return m_id.bKnown; }
    bool operator==(const CListedFolder&) const = default;

    // The folder opened for an action. Its Error() is CFolderHandle::kReplaced when the path
    // now leads to another folder, or to this one through a link that was not there.
    CFolderHandle Open() const;

private:
    static QByteArray Trimmed(const QByteArray& path);

    QByteArray m_path;
    CFileIdentity m_id;
    bool m_bLink = false; // the path was itself a link to the folder
};

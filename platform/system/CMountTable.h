#pragma once

#include <QByteArray>
#include <QList>

// The file systems mounted now, as the kernel lists them (/proc/self/mounts). Only that
// list is read: no mounted file system is asked anything and no name is resolved, so a
// network share that is slow or gone costs nothing here.
class CMountTable {
public:
    struct Mount {
        QByteArray device;     // as the mount names it: "/dev/sdb1", "//nas/photos", "sshfs"
        QByteArray mountPoint; // an absolute path, its escapes undone
        QByteArray type;       // "ext4", "cifs", "fuse.sshfs", ...
    };

    // The mounts listed in the file `table`, in its order; none when it cannot be read.
    static QList<Mount> Read(const QByteArray& table = QByteArrayLiteral("/proc/self/mounts"));
    // The mounts of a table's text: lines of space-separated fields, with a space, tab,
    // newline or backslash in a field written as \040, \011, \012 or \134.
    static QList<Mount> Parse(const QByteArray& text);

private:
    static QByteArray Unescape(const QByteArray& field);
};

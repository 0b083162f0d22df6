#pragma once

#include <QByteArray>

// Whether a folder lies on a file system reached over a network: an SMB/CIFS or NFS share,
// the other network file systems, and every FUSE file system (sshfs and the like, whose
// server may be anywhere). There each file-system call is a round trip, and the folder
// watch sees nothing that other machines change. Told by the kernel's type of the file
// system (statfs), which costs one call and never resolves a name.
class CRemoteFileSystem {
public:
    // The file system that holds path; false when it cannot be asked.
    static bool Holds(const QByteArray& path);
    // The same for an open descriptor (of a folder or a file).
    static bool HoldsDescriptor(int fd);
    // Whether statfs's f_type names one of them.
    static bool IsRemoteType(unsigned long type);
    // Its short name for messages ("cifs", "smb2", "nfs", "fuse", ...); empty for others.
    static QByteArray TypeName(unsigned long type);
};

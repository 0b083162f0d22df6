#include "platform/system/CRemoteFileSystem.h"

#include <linux/magic.h>
#include <sys/vfs.h>

namespace {

struct Kind {
    unsigned long type;
    const char* name;
};

// The kernel's numbers for the file systems reached over a network (linux/magic.h).
constexpr Kind kRemote[] = {
    {CIFS_SUPER_MAGIC, "cifs"}, {SMB2_SUPER_MAGIC, "smb2"}, {SMB_SUPER_MAGIC, "smb"},
    {NFS_SUPER_MAGIC, "nfs"},   {FUSE_SUPER_MAGIC, "fuse"}, {CEPH_SUPER_MAGIC, "ceph"},
    {AFS_SUPER_MAGIC, "afs"},   {AFS_FS_MAGIC, "kafs"},     {CODA_SUPER_MAGIC, "coda"},
    {NCP_SUPER_MAGIC, "ncp"},   {V9FS_MAGIC, "9p"},
};

} // namespace

bool CRemoteFileSystem::Holds(const QByteArray& path) {
    struct statfs st {};
    return !path.isEmpty() && ::statfs(path.constData(), &st) == 0 &&
           IsRemoteType(static_cast<unsigned long>(st.f_type));
}

bool CRemoteFileSystem::HoldsDescriptor(int fd) {
    struct statfs st {};
    return fd >= 0 && ::fstatfs(fd, &st) == 0 &&
           IsRemoteType(static_cast<unsigned long>(st.f_type));
}

bool CRemoteFileSystem::IsRemoteType(unsigned long type) {
    return !TypeName(type).isEmpty();
}

QByteArray CRemoteFileSystem::TypeName(unsigned long type) {
    // f_type is a signed word on some systems: compare its low 32 bits.
    const unsigned long low = type & 0xFFFFFFFFUL;
    for (const Kind& kind : kRemote)
        if (kind.type == low)
            return QByteArray(kind.name);
    return QByteArray();
}

#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

namespace tmpfs_detail {

// Mounts made from now on stay inside this process and vanish with it.
inline void EnterOwnMountNamespace() {
    static const bool entered = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return false;
        return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }();
    (void)entered;
}

inline QString SystemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace tmpfs_detail

// A small tmpfs of the test's own: another device, a full disk or a read-only folder.
// Mounting needs root; Error() says why it failed, so the test can skip with that reason.
// The first mount moves the test process into a mount namespace of its own, so nothing it
// mounts can outlive it even if it dies; the destructor unmounts anyway.
class TmpfsMount {
public:
    explicit TmpfsMount(qint64 sizeBytes = 1 << 20, bool bReadOnly = false);
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool IsMounted() const { return m_bMounted; }
    QString Error() const { return m_strError; }
    QByteArray Path() const { return m_path; }
    // Makes the mounted file system read-only, keeping what was written to it.
    bool MakeReadOnly();

private:
    QTemporaryDir m_dir;
    QByteArray m_path;
    qint64 m_nSize;
    bool m_bMounted = false;
    QString m_strError;
};

inline TmpfsMount::TmpfsMount(qint64 sizeBytes, bool bReadOnly)
    : m_path(QFile::encodeName(m_dir.path())), m_nSize(sizeBytes) {
    tmpfs_detail::EnterOwnMountNamespace();
    const QByteArray options = "size=" + QByteArray::number(sizeBytes) + ",mode=0755";
    const unsigned long flags = bReadOnly ? MS_RDONLY : 0;
    m_bMounted = ::mount("tmpfs", m_path.constData(), "tmpfs", flags, options.constData()) == 0;
    if (!m_bMounted)
        m_strError = tmpfs_detail::SystemError();
}

inline TmpfsMount::~TmpfsMount() {
    if (m_bMounted && ::umount2(m_path.constData(), 0) != 0)
        ::umount2(m_path.constData(), MNT_DETACH);
}

inline bool TmpfsMount::MakeReadOnly() {
    const QByteArray options = "size=" + QByteArray::number(m_nSize);
    if (::mount("tmpfs", m_path.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                options.constData()) == 0)
        return true;
    m_strError = tmpfs_detail::SystemError();
    return false;
}

// QSKIP with the reason unless the mount is there.
#define REQUIRE_MOUNT(m)                                                                           \
    do {                                                                                           \
        if (!(m).IsMounted())                                                                      \
            QSKIP(qPrintable(QStringLiteral("needs a tmpfs mount, which was refused: ") +          \
                             (m).Error()));                                                        \
    } while (false)

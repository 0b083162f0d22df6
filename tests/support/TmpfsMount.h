#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

// A small tmpfs of the test's own: another device, a full disk or a read-only folder.
// Mounting needs root; Error() says why it failed, so the test can skip with that reason.
// The first mount moves the test process into a mount namespace of its own, so nothing it
// mounts can outlive it even if it dies; the destructor unmounts anyway.
class TmpfsMount {
public:
    explicit TmpfsMount(qint64 sizeBytes = 1 << 20, bool bReadOnly = false)
        : m_path(QFile::encodeName(m_dir.path())), m_nSize(sizeBytes) {
        static const bool bOwnNamespace =
            ::unshare(CLONE_NEWNS) == 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        (void)bOwnNamespace;
        m_bMounted = Mount(bReadOnly ? MS_RDONLY : 0, ",mode=0755");
    }
    ~TmpfsMount() {
        if (m_bMounted && ::umount2(m_path.constData(), 0) != 0)
            ::umount2(m_path.constData(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    bool IsMounted() const { return m_bMounted; }
    QString Error() const { return m_strError; }
    QByteArray Path() const { return m_path; }
    // Makes the mounted file system read-only, keeping what was written to it.
    bool MakeReadOnly() { return Mount(MS_REMOUNT | MS_RDONLY, ""); }

private:
    bool Mount(unsigned long flags, const char* moreOptions) {
        const QByteArray options = "size=" + QByteArray::number(m_nSize) + moreOptions;
        if (::mount("tmpfs", m_path.constData(), "tmpfs", flags, options.constData()) == 0)
            return true;
        m_strError = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }

    QTemporaryDir m_dir;
    QByteArray m_path;
    qint64 m_nSize;
    bool m_bMounted = false;
    QString m_strError;
};

// QSKIP with the reason unless the mount is there.
#define REQUIRE_MOUNT(m)                                                                           \
    do {                                                                                           \
        if (!(m).IsMounted())                                                                      \
            QSKIP(qPrintable(QStringLiteral("needs a tmpfs mount, which was refused: ") +          \
                             (m).Error()));                                                        \
    } while (false)

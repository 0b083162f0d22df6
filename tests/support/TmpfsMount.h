#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

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

// QSKIP with the reason unless the mount is there.
#define REQUIRE_MOUNT(m)                                                                           \
    do {                                                                                           \
        if (!(m).IsMounted())                                                                      \
            QSKIP(qPrintable(QStringLiteral("needs a tmpfs mount, which was refused: ") +          \
                             (m).Error()));                                                        \
    } while (false)

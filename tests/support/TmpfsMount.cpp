#include "tests/support/TmpfsMount.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sched.h>
#include <sys/mount.h>

namespace {

// Mounts made from now on stay inside this process and vanish with it.
void EnterOwnMountNamespace() {
    static const bool entered = [] {
        if (::unshare(CLONE_NEWNS) != 0)
            return false;
        return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }();
    (void)entered;
}

QString SystemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

TmpfsMount::TmpfsMount(qint64 sizeBytes, bool bReadOnly)
    : m_path(QFile::encodeName(m_dir.path())), m_nSize(sizeBytes) {
    EnterOwnMountNamespace();
    const QByteArray options = "size=" + QByteArray::number(sizeBytes) + ",mode=0755";
    const unsigned long flags = bReadOnly ? MS_RDONLY : 0;
    m_bMounted = ::mount("tmpfs", m_path.constData(), "tmpfs", flags, options.constData()) == 0;
    if (!m_bMounted)
        m_strError = SystemError();
}

TmpfsMount::~TmpfsMount() {
    if (m_bMounted && ::umount2(m_path.constData(), 0) != 0)
        ::umount2(m_path.constData(), MNT_DETACH);
}

bool TmpfsMount::MakeReadOnly() {
    const QByteArray options = "size=" + QByteArray::number(m_nSize);
    if (::mount("tmpfs", m_path.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                options.constData()) == 0)
        return true;
    m_strError = SystemError();
    return false;
}

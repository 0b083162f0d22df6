#include "platform/system/CQtFilePath.h"

#include <QFile>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <unistd.h>
#endif

CQtFilePath::CQtFilePath(const QByteArray& nativePath) : m_strPath(QFile::decodeName(nativePath)) {
#ifdef Q_OS_LINUX
    if (QFile::encodeName(m_strPath) == nativePath)
        return;
    m_fd = ::open(nativePath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd >= 0)
        m_strPath = QStringLiteral("/proc/self/fd/%1").arg(m_fd);
#endif
}

CQtFilePath::~CQtFilePath() {
#ifdef Q_OS_LINUX
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

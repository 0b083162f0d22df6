#include "picture/load/CFileStamp.h"

#include <QFile>
#include <sys/stat.h>

SFileStamp SFileStamp::Of(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    SFileStamp stamp;
    stamp.nDevice = quint64(st.st_dev);
    stamp.nInode = quint64(st.st_ino);
    stamp.nSize = qint64(st.st_size);
    stamp.nModifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + qint64(st.st_mtim.tv_nsec);
    return stamp;
}

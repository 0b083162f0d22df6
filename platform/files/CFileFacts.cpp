#include "platform/files/CFileFacts.h"

#include <sys/stat.h>

CFileFacts CFileFacts::Of(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) {
        CFileFacts facts;
        facts.path = path;
        return facts;
    }
    return Of(path, st);
}

CFileFacts CFileFacts::Of(const QByteArray& path, const struct stat& st) {
    CFileFacts facts;
    facts.path = path;
    facts.size = st.st_size;
    facts.modified = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(st.st_mtim.tv_sec) * 1000 +
                                                    st.st_mtim.tv_nsec / 1000000);
    return facts;
}

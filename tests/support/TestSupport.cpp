#include "tests/support/TestSupport.h"

#include "platform/CProfileStore.h"

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <unistd.h>

TempProfile::TempProfile() : m_store(std::make_unique<CProfileStore>(Path())) {
}
TempProfile::~TempProfile() = default;

QString TempProfile::Path() const {
    return m_dir.filePath(QStringLiteral("Vantrel.conf"));
}

void TempProfile::Reopen() {
    m_store->Flush();
    m_store = std::make_unique<CProfileStore>(Path());
}

QString WriteFile(const QString& path, qint64 size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    QByteArray chunk(4096, '\0');
    for (int i = 0; i < chunk.size(); ++i)
        chunk[i] = static_cast<char>(i * 7);
    for (qint64 left = size; left > 0; left -= chunk.size())
        f.write(chunk.constData(), std::min<qint64>(left, chunk.size()));
    return path;
}

bool WriteBytes(const QByteArray& path, const QByteArray& data) {
    const int fd = ::open(path.constData(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool bWritten = ::write(fd, data.constData(), static_cast<size_t>(data.size())) ==
                          static_cast<ssize_t>(data.size());
    return ::close(fd) == 0 && bWritten;
}

QByteArray ReadBytes(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return QByteArray();
    QByteArray data("");
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
        data.append(buffer, n);
    ::close(fd);
    return n < 0 ? QByteArray() : data;
}

QList<QByteArray> ListDir(const QByteArray& dir) {
    QList<QByteArray> names;
    if (DIR* d = ::opendir(dir.constData())) {
        while (const dirent* e = ::readdir(d))
            if (qstrcmp(e->d_name, ".") != 0 && qstrcmp(e->d_name, "..") != 0)
                names.append(QByteArray(e->d_name));
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

QByteArray Pattern(qint64 size, int seed) {
    QByteArray data(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 31 + seed * 7 + i / 251) & 0xff);
    return data;
}

bool RemoveTree(const QByteArray& dir) {
    const auto remove = [](const char* path, const struct stat*, int, struct FTW*) {
        return ::remove(path);
    };
    return ::nftw(dir.constData(), remove, 16, FTW_DEPTH | FTW_PHYS | FTW_MOUNT) == 0;
}

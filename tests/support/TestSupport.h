#pragma once

#include "platform/system/CProfileStore.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// A settings store in a temporary file, so tests never touch the user's own settings.
class TempProfile {
public:
    TempProfile() : m_store(std::make_unique<CProfileStore>(Path())) {}
    CProfileStore& Store() { return *m_store; }
    QString Path() const { return m_dir.filePath(QStringLiteral("Vantrel.conf")); }
    // Reopens the store from disk, as the next run of the program would.
    void Reopen() {
        m_store->Flush();
        m_store = std::make_unique<CProfileStore>(Path());
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CProfileStore> m_store;
};

// Byte-string paths, for names that are not valid UTF-8.
// Writes `data` to path (created or truncated); false when that failed.
inline bool WriteBytes(const QByteArray& path, const QByteArray& data) {
    const int fd = ::open(path.constData(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool bWritten = ::write(fd, data.constData(), static_cast<size_t>(data.size())) ==
                          static_cast<ssize_t>(data.size());
    return ::close(fd) == 0 && bWritten;
}

// The whole file, or a null QByteArray when it cannot be read.
inline QByteArray ReadBytes(const QByteArray& path) {
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

// True when something, even a dangling symbolic link, is at path.
inline bool Exists(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

// Every entry of a folder, hidden ones too, sorted; empty when it cannot be read.
inline QList<QByteArray> ListDir(const QByteArray& dir) {
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

// A picture-like pattern of `size` bytes that differs with `seed`.
inline QByteArray Pattern(qint64 size, int seed = 1) {
    QByteArray data(size, Qt::Uninitialized);
    for (qint64 i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 31 + seed * 7 + i / 251) & 0xff);
    return data;
}

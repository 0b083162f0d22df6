#pragma once

#include <QByteArray>
#include <QDateTime>

struct stat;

// What the user is shown of a file when two of them want the same name.
struct CFileFacts {
    QByteArray path;
    qint64 size = 0;
    QDateTime modified;

    // The facts of the file at path (not following a final symbolic link).
    static CFileFacts Of(const QByteArray& path);
    // The facts of a file already looked at: st is its entry.
    static CFileFacts Of(const QByteArray& path, const struct stat& st);
};

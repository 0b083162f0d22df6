#pragma once

#include <QByteArray>
#include <QDateTime>

// What the user is shown of a file when two of them want the same name.
struct CFileFacts {
    QByteArray path;
    qint64 size = 0;
    QDateTime modified;

    // The facts of the file at path (not following a final symbolic link).
    static CFileFacts Of(const QByteArray& path);
};

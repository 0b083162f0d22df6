#pragma once

#include <QString>
#include <QtGlobal>

// What tells a file's contents apart from what they were: its identity on the disk, its
// size and its modification time. Two equal stamps mean the cached pixels still hold.
struct SFileStamp {
    quint64 nDevice = 0;
    quint64 nInode = 0;
    qint64 nSize = -1;
    qint64 nModifiedNs = 0;

    // The stamp of the file now; an invalid stamp when it cannot be read.
    static SFileStamp Of(const QString& path);
    bool IsValid() const { return nSize >= 0; }
    bool operator==(const SFileStamp&) const = default;
};

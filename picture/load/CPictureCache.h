#pragma once

#include "picture/load/CFileStamp.h"
#include "picture/load/CPictureSource.h"
#include "picture/load/CPixelRelease.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// Decoded pictures kept for showing again at once, one size of each file, the most
// recently used first. It holds at most a few pictures and stays within a memory budget;
// a file whose stamp changed since it was decoded is not served. The pixels of pictures it
// lets go are freed off the calling thread (CPixelRelease).
class CPictureCache {
public:
    static constexpr qint64 kDefaultBudget = 256LL * 1024 * 1024;
    static constexpr int kDefaultPictures = 6;

    struct SEntry {
        QString strPath;
        SFileStamp stamp;
        QSize ownSize; // the whole picture's size, upright
        QSize target;  // the size it was decoded for
        QImage image;
        int nBits = 0;                       // its colour depth, as far as it is known
        CPictureSource::SHeader header = {}; // what opening the file found, its figures completed
    };

    explicit CPictureCache(qint64 budgetBytes = kDefaultBudget, int maxPictures = kDefaultPictures);

    // The entry for path while the file is unchanged, made most recent; null otherwise.
    // An entry for a changed file is dropped.
    const SEntry* Find(const QString& path, const SFileStamp& stamp);
    // The entry for path, made most recent, without asking whether the file changed (that
    // takes a look at the disk, which the caller leaves to a worker); null when none.
    const SEntry* Peek(const QString& path);
    // Replaces any entry of the same file; pictures larger than the budget are not kept.
    void Insert(SEntry entry);
    void Remove(const QString& path);
    void Clear();
    // Lets go of pixels a caller held, freeing them off its thread if nobody else holds them.
    void Release(QImage& image) { m_release.Release(image); }

    int Count() const { return int(m_entries.size()); }
    qint64 Bytes() const;
    qint64 Budget() const { return m_nBudget; }

private:
    qsizetype IndexOf(const QString& path) const;
    void Trim();
    // Takes entry `at` out, its pixels to the release.
    void Drop(qsizetype at);

    QList<SEntry> m_entries; // most recently used first
    qint64 m_nBudget;
    int m_nMaxPictures;
    CPixelRelease m_release; // last, so that it waits for the pixels it frees
};

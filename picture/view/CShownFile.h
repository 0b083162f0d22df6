#pragma once

#include "picture/load/CPictureCache.h"
#include "picture/load/CPictureSource.h"

#include <QString>

// What the imaging control knows of the file it shows: the picture source (its figures, and
// the decoder for printing), the file's length and real type, and whether a worker is
// still reading its header. A file is read here only when the owner asks for that (the
// control's LoadFile and QueryFileInfo); shown, its header comes from the cache or a worker.
class CShownFile {
public:
    // What a header read by a worker changed.
    enum class ETaken { Nothing, Figures, Failure, Depth };

    explicit CShownFile(CPictureSource& source) : m_source(source) {}

    bool IsPending() const { return m_bPending; }
    qint64 FileSize() const { return m_nFileSize; }
    short FileFormat() const { return m_nFileFormat; }

    // Reads the file's header on this thread; `cached` (the file's cached pixels, if any)
    // completes the figures of a type decoded whole. False, with the source's Error(), when
    // it cannot be shown.
    bool Open(const QString& path, const CPictureCache::SEntry* cached);
    // The file is to be shown: its figures are those of its cached pixels, or its header is
    // awaited from a worker.
    void Expect(const QString& path, const CPictureCache::SEntry* cached);
    // A header a worker read of the file: awaited, or of the file on show as it is now.
    ETaken Take(const QString& path, const CPictureSource::SHeader& header);
    // The size and depth a decode found: Figures when the size changed, Depth when only the
    // depth did.
    ETaken TakeDecoded(QSize own, int bitsPerPixel);
    // The file's length and real type, read here; false when it is no ordinary file.
    bool Query(const QString& path);
    void Close();

private:
    void Adopt(const QString& path, const CPictureSource::SHeader& header);

    CPictureSource& m_source;
    bool m_bPending = false;
    qint64 m_nFileSize = 0;
    short m_nFileFormat = 0;
};

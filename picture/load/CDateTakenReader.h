#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <atomic>

// The dates taken of many pictures at once, for ordering a folder by them: the same reading
// as CMetadataSource::DateTaken's (see CExifDate). A JPEG's record is read here, from the
// first kHeadBytes of the file with the bounded EXIF reader; the record of the other types
// that carry one (TIFF, PNG, WebP, HEIF, camera RAW, Photoshop) is read by the decoder helper
// in its sandbox, many files a run (CDateBatch).
class CDateTakenReader {
public:
    // The bytes of a JPEG file's start its record is looked for in.
    static constexpr qsizetype kHeadBytes = 128 * 1024;

    // The moment each picture was taken, aligned with `paths` (invalid where the file does not
    // record it or cannot be read). Blocks: call it off the interface thread, with batches of a
    // few hundred paths. A set `cancel` flag stops it early (the rest invalid).
    static QList<QDateTime> Read(const QList<QString>& paths,
                                 const std::atomic<bool>* cancel = nullptr);

private:
    enum class EHead { Done, Helper, Skip };
    // Looks at the file open at `fd`: its date when it is a JPEG whose record lies in its
    // head (Done), or the type the helper reads it as (Helper), or nothing to read (Skip).
    static EHead Look(int fd, const QString& path, QByteArray& buffer, QDateTime& taken,
                      int& format);
};

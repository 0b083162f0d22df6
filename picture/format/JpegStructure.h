#pragma once

#include <QByteArrayView>
#include <QSize>

// Walks the marker structure of a JPEG stream. The decoder fills a picture whose data
// ends early with grey and reports success; this tells such a file apart.
class JpegStructure {
public:
    // True when the stream starts with a start-of-image marker and reaches its
    // end-of-image marker. Metadata segments (with their embedded thumbnails) are
    // skipped by their lengths; anything after the end marker is ignored.
    static bool IsComplete(QByteArrayView data);

    // The size the frame header gives, when `data` (a stream's start) reaches one of a
    // picture the program decodes itself (baseline, extended or progressive, Huffman-coded);
    // invalid for any other (lossless, arithmetic, hierarchical) or none.
    static QSize FrameSize(QByteArrayView data);

private:
    static qsizetype NextMarker(QByteArrayView data, qsizetype from);
};

#include "picture/format/CRawPreviews.h"

#include "picture/format/CTiffDirectory.h"

#include <algorithm>

namespace {
constexpr quint16 kNewSubFileType = 254;
constexpr quint16 kWidth = 256;
constexpr quint16 kHeight = 257;
constexpr quint16 kBitsPerSample = 258;
constexpr quint16 kCompression = 259;
constexpr quint16 kPhotometric = 262;
constexpr quint16 kStripOffsets = 273;
constexpr quint16 kOrientationTag = 274;
constexpr quint16 kSamplesPerPixel = 277;
constexpr quint16 kStripByteCounts = 279;
constexpr quint16 kPlanarConfiguration = 284;
constexpr quint16 kSubIfds = 330;
constexpr quint16 kJpegOffset = 0x0201;
constexpr quint16 kJpegLength = 0x0202;
// More directories than any camera writes: the rest is not looked at.
constexpr int kMaxDirectories = 16;
constexpr int kMaxSubDirectories = 8;
constexpr int kMaxChain = 4;
constexpr int kMaxPreviews = 8;
// Shorter than any JPEG of a picture.
constexpr qint64 kMinPreviewBytes = 64;
} // namespace

CRawPreviews::CRawPreviews(QByteArrayView head, qint64 fileSize)
    : m_head(head), m_nFileSize(fileSize) {
    const CTiffDirectory tiff(head);
    const quint32 first = tiff.First();
    const int orientation = int(tiff.Tag(first, kOrientationTag));
    if (orientation >= 1 && orientation <= 8)
        m_nOrientation = orientation;
    quint32 ifd = first;
    for (int i = 0; i < kMaxChain && ifd != 0; ++i) {
        Visit(ifd);
        for (quint32 sub : tiff.Values(ifd, kSubIfds, kMaxSubDirectories))
            Visit(sub);
        ifd = tiff.Next(ifd);
    }
}

void CRawPreviews::Visit(quint32 ifd) {
    if (ifd == 0 || m_visited.contains(ifd) || m_visited.size() >= kMaxDirectories)
        return;
    m_visited << ifd;
    TakePreview(ifd);
    TakeThumbnail(ifd);
    TakeSensor(ifd);
}

// A JPEG named as such (older makers' way), or a directory of one strip of JPEG data in
// colour (a DNG's preview); never the sensor's data (lossless JPEG of a colour filter array).
void CRawPreviews::TakePreview(quint32 ifd) {
    const CTiffDirectory tiff(m_head);
    const QList<quint32> offset = tiff.Values(ifd, kJpegOffset, 1);
    const QList<quint32> length = tiff.Values(ifd, kJpegLength, 1);
    if (!offset.isEmpty() && !length.isEmpty()) {
        Add(offset.front(), length.front());
        return;
    }
    const quint32 compression = tiff.Tag(ifd, kCompression);
    const quint32 photometric = tiff.Tag(ifd, kPhotometric);
    if ((compression != 6 && compression != 7) || (photometric != 2 && photometric != 6))
        return;
    const QList<quint32> strips = tiff.Values(ifd, kStripOffsets, 2);
    const QList<quint32> counts = tiff.Values(ifd, kStripByteCounts, 2);
    if (strips.size() == 1 && counts.size() == 1)
        Add(strips.front(), counts.front());
}

// A reduced copy stored as plain rows of 8-bit RGB in one strip (a DNG's first directory).
void CRawPreviews::TakeThumbnail(quint32 ifd) {
    const CTiffDirectory tiff(m_head);
    const QList<quint32> bits = tiff.Values(ifd, kBitsPerSample, 4);
    if (tiff.Tag(ifd, kNewSubFileType) != 1 || tiff.Tag(ifd, kCompression) != 1 ||
        tiff.Tag(ifd, kPhotometric) != 2 || tiff.Tag(ifd, kSamplesPerPixel) != 3 ||
        tiff.Tag(ifd, kPlanarConfiguration) > 1 || bits != QList<quint32>{8, 8, 8})
        return;
    const quint32 width = tiff.Tag(ifd, kWidth), height = tiff.Tag(ifd, kHeight);
    const QList<quint32> strips = tiff.Values(ifd, kStripOffsets, 2);
    const QList<quint32> counts = tiff.Values(ifd, kStripByteCounts, 2);
    if (width == 0 || height == 0 || width > quint32(kMaxThumbnailSide) ||
        height > quint32(kMaxThumbnailSide) || strips.size() != 1 || counts.size() != 1)
        return;
    const qint64 bytes = 3LL * width * height;
    if (strips.front() == 0 || counts.front() < bytes || strips.front() + bytes > m_nFileSize)
        return;
    if (qint64(width) * height > qint64(m_thumbnail.size.width()) * m_thumbnail.size.height())
        m_thumbnail = {strips.front(), QSize(int(width), int(height))};
}

// The full-size picture of the sensor: a colour filter array or linear data.
void CRawPreviews::TakeSensor(quint32 ifd) {
    const CTiffDirectory tiff(m_head);
    const quint32 photometric = tiff.Tag(ifd, kPhotometric);
    if (tiff.Tag(ifd, kNewSubFileType) != 0 || (photometric != 32803 && photometric != 34892))
        return;
    const QSize size(int(std::min<quint32>(tiff.Tag(ifd, kWidth), 65535)),
                     int(std::min<quint32>(tiff.Tag(ifd, kHeight), 65535)));
    if (!size.isEmpty() && (m_sensor.isEmpty() || size.width() > m_sensor.width()))
        m_sensor = size;
}

void CRawPreviews::Add(qint64 offset, qint64 length) {
    if (offset <= 0 || length < kMinPreviewBytes || length > kMaxPreviewBytes ||
        offset + length > m_nFileSize || m_previews.size() >= kMaxPreviews)
        return;
    for (const SPreview& known : std::as_const(m_previews))
        if (known.nOffset == offset)
            return;
    m_previews << SPreview{offset, length};
}

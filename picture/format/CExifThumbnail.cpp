#include "picture/format/CExifThumbnail.h"

#include "picture/format/CTiffDirectory.h"

#include <QBuffer>
#include <QImageReader>
#include <QTransform>

namespace {
constexpr int kMaxSide = 1024; // a preview, never a picture
constexpr quint16 kOrientation = 0x0112;
constexpr quint16 kThumbnailOffset = 0x0201;
constexpr quint16 kThumbnailLength = 0x0202;
} // namespace

QImage CExifThumbnail::Read(QByteArrayView head) {
    const CTiffDirectory tiff(CTiffDirectory::JpegExif(head));
    const quint32 ifd0 = tiff.First();
    const quint32 ifd1 = tiff.Next(ifd0);
    if (!ifd1)
        return {};
    const QByteArrayView jpeg =
        tiff.Slice(tiff.Tag(ifd1, kThumbnailOffset), tiff.Tag(ifd1, kThumbnailLength));
    if (jpeg.isEmpty())
        return {};
    QByteArray bytes = jpeg.toByteArray();
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "jpeg");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide)
        return {};
    return Upright(reader.read(), int(tiff.Tag(ifd0, kOrientation)));
}

// Orientations 1 to 8: mirrored or not, turned by a multiple of 90 degrees.
QImage CExifThumbnail::Upright(const QImage& image, int orientation) {
    if (image.isNull() || orientation < 2 || orientation > 8)
        return image;
    static const struct {
        bool bMirrorH, bMirrorV;
        int nDegrees;
    } kTurns[9] = {{},
                   {},
                   {true, false, 0},
                   {false, false, 180},
                   {false, true, 0},
                   {false, true, 90},
                   {false, false, 90},
                   {true, false, 90},
                   {false, false, 270}};
    const auto& turn = kTurns[orientation];
    const QImage mirrored = image.mirrored(turn.bMirrorH, turn.bMirrorV);
    return turn.nDegrees ? mirrored.transformed(QTransform().rotate(turn.nDegrees)) : mirrored;
}

#include "picture/format/CExifThumbnail.h"

#include "picture/format/ByteReader.h"

#include <QBuffer>
#include <QImageReader>
#include <QTransform>

namespace {
constexpr int kMaxSide = 1024; // a preview, never a picture
constexpr quint16 kOrientation = 0x0112;
constexpr quint16 kThumbnailOffset = 0x0201;
constexpr quint16 kThumbnailLength = 0x0202;

// An image file directory of a TIFF structure in either byte order.
class CTiff {
public:
    explicit CTiff(QByteArrayView data) : m_data(data), m_bLittle(data.startsWith("II*\0")) {}
    bool IsValid() const { return m_bLittle || m_data.startsWith("MM\0*"); }
    quint32 U16(qsizetype at) const {
        return m_bLittle ? ReadLE16(m_data, at) : ReadBE16(m_data, at);
    }
    quint32 U32(qsizetype at) const {
        return m_bLittle ? ReadLE32(m_data, at) : ReadBE32(m_data, at);
    }
    // The value of a SHORT or LONG tag in the directory at `ifd`, or 0.
    quint32 Tag(quint32 ifd, quint16 tag) const {
        const quint32 count = U16(ifd);
        for (quint32 i = 0; i < count && ifd + 2 + 12 * (i + 1) <= quint32(m_data.size()); ++i) {
            const qsizetype entry = ifd + 2 + 12 * i;
            if (U16(entry) == tag)
                return U16(entry + 2) == 3 ? U16(entry + 8) : U32(entry + 8);
        }
        return 0;
    }
    // The directory after the one at `ifd`, or 0.
    quint32 Next(quint32 ifd) const {
        const qint64 at = qint64(ifd) + 2 + 12 * qint64(U16(ifd));
        return at + 4 <= m_data.size() ? U32(at) : 0;
    }
    QByteArrayView Slice(quint32 offset, quint32 length) const {
        if (offset == 0 || length == 0 || qint64(offset) + length > m_data.size())
            return {};
        return m_data.sliced(offset, length);
    }

private:
    QByteArrayView m_data;
    bool m_bLittle;
};
} // namespace

QByteArrayView CExifThumbnail::ExifBlock(QByteArrayView head) {
    if (!head.startsWith("\xFF\xD8"))
        return {};
    qsizetype at = 2;
    while (at + 4 <= head.size() && ReadByte(head, at) == 0xFF) {
        const quint32 marker = ReadByte(head, at + 1);
        if (marker == 0xDA || marker == 0xD9)
            break; // the picture data starts: no metadata after it
        const qsizetype length = ReadBE16(head, at + 2);
        if (length < 2)
            break;
        const bool exif = marker == 0xE1 && length > 16 && at + 10 <= head.size() &&
                          head.sliced(at + 4).startsWith(QByteArrayView("Exif\0\0", 6));
        if (exif)
            return head.sliced(at + 10, std::min<qsizetype>(length - 8, head.size() - at - 10));
        at += 2 + length;
    }
    return {};
}

QImage CExifThumbnail::Read(QByteArrayView head) {
    const CTiff tiff(ExifBlock(head));
    if (!tiff.IsValid())
        return {};
    const quint32 ifd0 = tiff.U32(4);
    const quint32 ifd1 = ifd0 ? tiff.Next(ifd0) : 0;
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

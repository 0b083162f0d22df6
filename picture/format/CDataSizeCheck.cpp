#include "picture/format/CDataSizeCheck.h"

#include "picture/format/ByteReader.h"
#include "picture/format/PictureFormat.h"

#include <QIODevice>
#include <QObject>

namespace {
QString Damaged() {
    return QObject::tr("The picture data is damaged (it claims more data than the file holds).");
}

QString Incomplete() {
    return QObject::tr("The picture data ends early (the file is incomplete).");
}

QByteArray ReadAt(QIODevice& file, qint64 at, qint64 length) {
    return file.seek(at) ? file.read(length) : QByteArray();
}
} // namespace

QString CDataSizeCheck::Check(QIODevice& file, const SPictureInfo& info) {
    switch (info.nFormat) {
    case picfmt::kPng:
        return CheckPng(file, info);
    case picfmt::kBmp:
        return CheckBmp(file, info);
    case picfmt::kJpg:
        return CheckJpeg(file, info);
    default:
        return {};
    }
}

// Walks the chunks by their headers alone, up to the image end: each one must fit in the
// file, and the compressed image data must be able to expand to the picture's rows.
QString CDataSizeCheck::CheckPng(QIODevice& file, const SPictureInfo& info) {
    const qint64 size = file.size();
    qint64 at = 8;
    qint64 imageData = 0;
    for (;;) {
        const QByteArray header = ReadAt(file, at, 8);
        if (header.size() < 8)
            return Incomplete();
        const qint64 length = ReadBE32(header, 0);
        if (length > 0x7FFFFFFF || at + 12 + length > size)
            return length > size ? Damaged() : Incomplete();
        const QByteArrayView type = QByteArrayView(header).sliced(4);
        if (type == "IDAT")
            imageData += length;
        if (type == "IEND")
            break;
        at += 12 + length;
    }
    const qint64 rowBytes = (qint64(info.nWidth) * qMax(info.nBitsPerPixel, 1) + 7) / 8 + 1;
    if (info.HasSize() && imageData * kMaxDeflateRatio < rowBytes * info.nHeight)
        return Damaged();
    return {};
}

// Uncompressed rows are stored whole; only the last may come short (some writers leave out
// its padding).
QString CDataSizeCheck::CheckBmp(QIODevice& file, const SPictureInfo& info) {
    const QByteArray header = ReadAt(file, 0, 34);
    const quint32 headerSize = ReadLE32(header, 14);
    const quint32 compression = headerSize >= 40 ? ReadLE32(header, 30) : 0;
    const int bits = info.nBitsPerPixel;
    constexpr quint32 kRgb = 0, kBitFields = 3;
    if (!info.HasSize() || (compression != kRgb && compression != kBitFields) || bits <= 0 ||
        bits > 32)
        return {};
    const qint64 stride = (qint64(info.nWidth) * bits + 31) / 32 * 4;
    const qint64 dataAt = ReadLE32(header, 10);
    if (dataAt + stride * (info.nHeight - 1) + 1 > file.size())
        return dataAt + stride > file.size() ? Damaged() : Incomplete();
    return {};
}

// Only the frame types coded with Huffman tables (baseline, extended, progressive) are
// bounded; arithmetic coding can spend less than a bit on a block.
QString CDataSizeCheck::CheckJpeg(QIODevice& file, const SPictureInfo& info) {
    qint64 at = 2;
    for (int segment = 0; segment < 256 && info.HasSize(); ++segment) {
        const QByteArray marker = ReadAt(file, at, 4);
        if (marker.size() < 4 || static_cast<uchar>(marker[0]) != 0xFF)
            return {};
        const int type = static_cast<uchar>(marker[1]);
        if (type == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (type >= 0xC0 && type <= 0xC2) {
            const qint64 pixels = qint64(info.nWidth) * info.nHeight;
            return file.size() * kMaxJpegPixelsPerByte < pixels ? Damaged() : QString();
        }
        if (type == 0xDA || ReadBE16(marker, 2) < 2)
            return {};
        at += 2 + ReadBE16(marker, 2);
    }
    return {};
}

#include "picture/load/CMspReader.h"

#include "picture/format/ByteReader.h"
#include "picture/sandbox/DecodeLimits.h"

#include <QObject>
#include <cstring>

QImage CMspReader::Read(QByteArrayView data, QString& error) {
    const bool version1 = data.startsWith("DanM");
    const bool version2 = data.startsWith("LinS");
    const int width = ReadLE16(data, 4);
    const int height = ReadLE16(data, 6);
    if (data.size() < kHeaderBytes || (!version1 && !version2) || width == 0 || height == 0) {
        error = QObject::tr("The picture header is damaged.");
        return {};
    }
    if (!limits::WithinLimits(width, height)) {
        error = QObject::tr("The picture is too large to show (%1 x %2 pixels).")
                    .arg(width)
                    .arg(height);
        return {};
    }
    // A short file is damaged, not huge: no memory is taken for lines it cannot hold.
    if (!HasDataFor(data, version1, width, height)) {
        error = QObject::tr("The picture data ends early (the file is incomplete).");
        return {};
    }
    QImage image(width, height, QImage::Format_Mono);
    if (image.isNull()) {
        error = QObject::tr("There is not enough memory to show the picture.");
        return {};
    }
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    if (!(version1 ? ReadVersion1(data, image) : ReadVersion2(data, image))) {
        error = QObject::tr("The picture data ends early (the file is incomplete).");
        return {};
    }
    return image;
}

// Version 1 stores every line whole. Version 2 has its table of line lengths, then for each
// line at least one run (three bytes) for every 255 bytes of it.
bool CMspReader::HasDataFor(QByteArrayView data, bool version1, int width, int height) {
    const qint64 lineBytes = (qint64(width) + 7) / 8;
    const qint64 perLine = version1 ? lineBytes : 2 + 3 * ((lineBytes + 254) / 255);
    return data.size() >= kHeaderBytes + perLine * height;
}

bool CMspReader::ReadVersion1(QByteArrayView data, QImage& image) {
    const int lineBytes = (image.width() + 7) / 8;
    if (data.size() < kHeaderBytes + qsizetype(lineBytes) * image.height())
        return false;
    const char* p = data.data() + kHeaderBytes;
    for (int y = 0; y < image.height(); ++y, p += lineBytes)
        std::memcpy(image.scanLine(y), p, size_t(lineBytes));
    return true;
}

bool CMspReader::ReadVersion2(QByteArrayView data, QImage& image) {
    const int lineBytes = (image.width() + 7) / 8;
    qsizetype at = kHeaderBytes + 2 * qsizetype(image.height()); // after the line table
    for (int y = 0; y < image.height(); ++y) {
        const qsizetype packed = ReadLE16(data, kHeaderBytes + 2 * y);
        if (at + packed > data.size())
            return false;
        uchar* line = image.scanLine(y);
        std::memset(line, 0xFF, size_t(lineBytes)); // an empty line is white
        if (packed > 0 && !ExpandLine(data.sliced(at, packed), line, lineBytes))
            return false;
        at += packed;
    }
    return true;
}

bool CMspReader::ExpandLine(QByteArrayView packed, uchar* line, int lineBytes) {
    int out = 0;
    qsizetype in = 0;
    while (in < packed.size() && out < lineBytes) {
        const int count = static_cast<uchar>(packed[in++]);
        if (count == 0) { // a run: count, value
            if (in + 2 > packed.size())
                return false;
            const int run = static_cast<uchar>(packed[in]);
            const uchar value = static_cast<uchar>(packed[in + 1]);
            in += 2;
            const int n = std::min(run, lineBytes - out);
            std::memset(line + out, value, size_t(n));
            out += n;
        } else { // `count` bytes as they are
            if (in + count > packed.size())
                return false;
            const int n = std::min(count, lineBytes - out);
            std::memcpy(line + out, packed.data() + in, size_t(n));
            in += count;
            out += n;
        }
    }
    return true;
}

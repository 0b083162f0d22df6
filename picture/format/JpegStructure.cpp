#include "picture/format/JpegStructure.h"

#include "picture/format/ByteReader.h"

#include <cstring>

qsizetype JpegStructure::NextMarker(QByteArrayView data, qsizetype from) {
    // A marker is 0xFF followed by a byte other than 0x00 (a stuffed data byte), a
    // restart marker or another 0xFF (fill).
    while (from < data.size()) {
        const void* hit = std::memchr(data.data() + from, 0xFF, size_t(data.size() - from));
        if (!hit)
            return -1;
        qsizetype at = static_cast<const char*>(hit) - data.data();
        while (at + 1 < data.size() && static_cast<uchar>(data[at + 1]) == 0xFF)
            ++at;
        if (at + 1 >= data.size())
            return -1;
        const int code = static_cast<uchar>(data[at + 1]);
        if (code != 0x00 && (code < 0xD0 || code > 0xD7))
            return at;
        from = at + 2;
    }
    return -1;
}

bool JpegStructure::IsComplete(QByteArrayView data) {
    if (!data.startsWith("\xFF\xD8"))
        return false;
    qsizetype at = 2;
    for (;;) {
        at = NextMarker(data, at);
        if (at < 0)
            return false;
        const int code = static_cast<uchar>(data[at + 1]);
        if (code == 0xD9)
            return true;
        if (code == 0x01 || code == 0xD8) { // markers without a length
            at += 2;
            continue;
        }
        const quint16 length = ReadBE16(data, at + 2);
        if (length < 2)
            return false;
        at += 2 + length; // entropy-coded data after a scan header is searched for markers
    }
}

QSize JpegStructure::FrameSize(QByteArrayView data) {
    if (!data.startsWith("\xFF\xD8"))
        return {};
    qsizetype at = 2;
    // Before the frame header come only segments with a length, each starting with a marker.
    while (at + 9 <= data.size() && ReadByte(data, at) == 0xFF) {
        const quint32 code = ReadByte(data, at + 1);
        if (code == 0xFF) { // fill
            ++at;
            continue;
        }
        const bool dct = code == 0xC0 || code == 0xC1 || code == 0xC2;
        if (dct)
            return QSize(ReadBE16(data, at + 7), ReadBE16(data, at + 5));
        const bool frame =
            code >= 0xC3 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
        const quint16 length = ReadBE16(data, at + 2);
        if (frame || code == 0xDA || code == 0xD9 || length < 2)
            return {};
        at += 2 + length;
    }
    return {};
}

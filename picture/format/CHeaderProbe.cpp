#include "picture/format/CHeaderProbe.h"

#include "picture/format/ByteReader.h"
#include "picture/format/CHeifHeader.h"
#include "picture/format/PictureFormat.h"

#include <QIODevice>
#include <algorithm>
#include <climits>

namespace {
// More entries than any real first directory holds; the rest is not looked at.
constexpr int kMaxTiffEntries = 1024;

// length bytes of the file from `at`: from the head where they lie in it, else read from the
// file; fewer (or none) where the file ends or cannot be read.
QByteArray BytesAt(QByteArrayView head, QIODevice* file, qint64 at, qint64 length) {
    if (at >= 0 && at + length <= head.size())
        return head.sliced(at, length).toByteArray();
    if (!file || at < 0 || !file->seek(at))
        return {};
    return file->read(length);
}

// The size a signed header field gives, whichever its sign; the most negative value, which
// has no positive counterpart, counts as far too large.
int Magnitude(quint32 field) {
    const qint64 value = static_cast<qint32>(field);
    return static_cast<int>(std::min<qint64>(value < 0 ? -value : value, INT_MAX));
}
} // namespace

SPictureInfo CHeaderProbe::Probe(int format, QByteArrayView head, QIODevice* file) {
    SPictureInfo info;
    info.nFormat = format;
    switch (format) {
    case picfmt::kJpg:
        ProbeJpeg(head, info);
        break;
    case picfmt::kTif:
        ProbeTiff(head, file, info);
        break;
    case picfmt::kPng:
        ProbePng(head, info);
        break;
    case picfmt::kBmp:
        ProbeBmp(head, info);
        break;
    case picfmt::kPsd:
        ProbePsd(head, info);
        break;
    case picfmt::kHeic:
    case picfmt::kAvif:
        CHeifHeader::Probe(head, info);
        break;
    default:
        ProbeFixed(format, head, info);
        break;
    }
    return info;
}

void CHeaderProbe::ProbeJpeg(QByteArrayView head, SPictureInfo& info) {
    qsizetype at = 2;
    while (at + 4 <= head.size()) {
        if (static_cast<uchar>(head[at]) != 0xFF)
            return;
        const int marker = static_cast<uchar>(head[at + 1]);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        const int length = ReadBE16(head, at + 2);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 10 > head.size())
                return;
            info.nHeight = ReadBE16(head, at + 5);
            info.nWidth = ReadBE16(head, at + 7);
            info.nBitsPerPixel = static_cast<int>(ReadByte(head, at + 4) * ReadByte(head, at + 9));
            return;
        }
        if (marker == 0xDA || length < 2)
            return;
        at += 2 + length;
    }
}

void CHeaderProbe::ProbeTiff(QByteArrayView head, QIODevice* file, SPictureInfo& info) {
    const bool little = head.startsWith("II");
    auto u16 = [&](QByteArrayView d, qsizetype at) {
        return little ? ReadLE16(d, at) : ReadBE16(d, at);
    };
    auto u32 = [&](QByteArrayView d, qsizetype at) {
        return little ? ReadLE32(d, at) : ReadBE32(d, at);
    };
    const qint64 ifd = u32(head, 4);
    const int entries = std::min<int>(u16(BytesAt(head, file, ifd, 2), 0), kMaxTiffEntries);
    const QByteArray directory = BytesAt(head, file, ifd + 2, 12 * qint64(entries));
    int bits = 1;
    int samples = 1;
    for (qsizetype e = 0; e + 12 <= directory.size(); e += 12) {
        const int tag = u16(directory, e);
        const int type = u16(directory, e + 2);
        const quint32 count = u32(directory, e + 4);
        // A SHORT value sits in the entry; more than two of them sit at an offset.
        const quint32 value = type != 3   ? u32(directory, e + 8)
                              : count > 2 ? u16(BytesAt(head, file, u32(directory, e + 8), 2), 0)
                                          : u16(directory, e + 8);
        if (tag == 256)
            info.nWidth = static_cast<int>(std::min<quint32>(value, INT_MAX));
        else if (tag == 257)
            info.nHeight = static_cast<int>(std::min<quint32>(value, INT_MAX));
        else if (tag == 258)
            bits = static_cast<int>(value);
        else if (tag == 277)
            samples = static_cast<int>(value);
    }
    // No directory found: the depth is unknown, not the one-bit default of an empty one.
    const bool found = directory.size() >= 12;
    info.nBitsPerPixel =
        found && bits > 0 && bits <= 64 && samples > 0 && samples <= 16 ? bits * samples : 0;
}

void CHeaderProbe::ProbePng(QByteArrayView head, SPictureInfo& info) {
    if (head.size() < 26 || head.sliced(12, 4) != "IHDR")
        return;
    info.nWidth = static_cast<int>(ReadBE32(head, 16));
    info.nHeight = static_cast<int>(ReadBE32(head, 20));
    const int depth = static_cast<int>(ReadByte(head, 24));
    static constexpr int kChannels[] = {1, 0, 3, 1, 2, 0, 4};
    const quint32 colourType = ReadByte(head, 25);
    info.nBitsPerPixel = colourType < 7 ? depth * kChannels[colourType] : 0;
}

void CHeaderProbe::ProbeBmp(QByteArrayView head, SPictureInfo& info) {
    if (ReadLE32(head, 14) == 12) { // the old core header
        info.nWidth = ReadLE16(head, 18);
        info.nHeight = ReadLE16(head, 20);
        info.nBitsPerPixel = ReadLE16(head, 24);
        return;
    }
    // A negative height means rows stored top down.
    info.nWidth = Magnitude(ReadLE32(head, 18));
    info.nHeight = Magnitude(ReadLE32(head, 22));
    info.nBitsPerPixel = ReadLE16(head, 28);
}

void CHeaderProbe::ProbePsd(QByteArrayView head, SPictureInfo& info) {
    info.nHeight = static_cast<int>(ReadBE32(head, 14));
    info.nWidth = static_cast<int>(ReadBE32(head, 18));
    const int channels = ReadBE16(head, 12);
    const int depth = ReadBE16(head, 22);
    switch (ReadBE16(head, 24)) {
    case 0: // bitmap
        info.nBitsPerPixel = 1;
        break;
    case 2: // indexed
        info.nBitsPerPixel = 8;
        break;
    default: // a damaged header gives an unknown depth, not an absurd one
        info.nBitsPerPixel = channels <= 56 && depth <= 32 ? channels * depth : 0;
        break;
    }
}

void CHeaderProbe::ProbeFixed(int format, QByteArrayView head, SPictureInfo& info) {
    switch (format) {
    case picfmt::kPcx:
        info.nWidth = ReadLE16(head, 8) - ReadLE16(head, 4) + 1;
        info.nHeight = ReadLE16(head, 10) - ReadLE16(head, 6) + 1;
        info.nBitsPerPixel = static_cast<int>(ReadByte(head, 3) * ReadByte(head, 65));
        break;
    case picfmt::kRas:
        info.nWidth = static_cast<int>(ReadBE32(head, 4));
        info.nHeight = static_cast<int>(ReadBE32(head, 8));
        info.nBitsPerPixel = static_cast<int>(ReadBE32(head, 12));
        break;
    case picfmt::kTga:
        info.nWidth = ReadLE16(head, 12);
        info.nHeight = ReadLE16(head, 14);
        info.nBitsPerPixel = static_cast<int>(ReadByte(head, 16));
        break;
    case picfmt::kMsp:
        info.nWidth = ReadLE16(head, 4);
        info.nHeight = ReadLE16(head, 6);
        info.nBitsPerPixel = 1;
        break;
    case picfmt::kMac:
        info.nWidth = 576;
        info.nHeight = 720;
        info.nBitsPerPixel = 1;
        break;
    case picfmt::kWmf:
    case picfmt::kEps:
        info.nBitsPerPixel = 24; // drawn in full colour
        break;
    case picfmt::kWebp: // Qt's reader tells no depth before decoding
        if (head.size() >= 25 && head.sliced(12, 4) == "VP8L")
            info.nBitsPerPixel = (ReadLE32(head, 21) >> 28) & 1 ? 32 : 24;
        else if (head.size() >= 21 && head.sliced(12, 4) == "VP8X")
            info.nBitsPerPixel = ReadByte(head, 20) & 0x10 ? 32 : 24;
        else
            info.nBitsPerPixel = 24; // lossy, without alpha
        break;
    default:
        break;
    }
    if (info.nWidth < 0 || info.nHeight < 0)
        info.nWidth = info.nHeight = 0;
}

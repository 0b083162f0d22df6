#include "picture/format/CHeifHeader.h"

#include "picture/format/ByteReader.h"

#include <algorithm>
#include <climits>

namespace {
// More boxes or item entries than any real header holds; the rest is not looked at.
constexpr int kMaxBoxes = 4096;
constexpr quint32 kMaxEntries = 4096;

constexpr quint32 Tag(const char (&name)[5]) {
    return quint32(uchar(name[0])) << 24 | quint32(uchar(name[1])) << 16 |
           quint32(uchar(name[2])) << 8 | quint32(uchar(name[3]));
}
} // namespace

void CHeifHeader::Probe(QByteArrayView head, SPictureInfo& info) {
    SBox meta;
    SProperties props;
    if (!FindBox(head, 0, head.size(), Tag("meta"), meta) ||
        !ReadMeta(head.sliced(meta.nBody, meta.nEnd - meta.nBody), props))
        return;
    ApplyProperties(props, PrimaryProperties(props), info);
}

bool CHeifHeader::ReadBox(QByteArrayView data, qsizetype at, qsizetype end, SBox& box) {
    if (at < 0 || end > data.size() || at + 8 > end)
        return false;
    quint64 size = ReadBE32(data, at);
    qsizetype header = 8;
    if (size == 1) { // a 64-bit length follows the type
        if (at + 16 > end)
            return false;
        size = quint64(ReadBE32(data, at + 8)) << 32 | ReadBE32(data, at + 12);
        header = 16;
    } else if (size == 0) { // reaches to the end of its container
        size = quint64(end - at);
    }
    if (size < quint64(header) || size > quint64(end - at))
        return false;
    box = {ReadBE32(data, at + 4), at + header, at + qsizetype(size)};
    return true;
}

bool CHeifHeader::FindBox(QByteArrayView data, qsizetype from, qsizetype end, quint32 type,
                          SBox& found) {
    SBox box;
    for (int n = 0; n < kMaxBoxes && ReadBox(data, from, end, box); ++n) {
        if (box.nType == type) {
            found = box;
            return true;
        }
        from = box.nEnd;
    }
    return false;
}

// The meta box (version and flags first, then its boxes): the primary item and the
// property boxes.
bool CHeifHeader::ReadMeta(QByteArrayView meta, SProperties& props) {
    SBox pitm, iprp, ipco, ipma;
    if (!FindBox(meta, 4, meta.size(), Tag("pitm"), pitm) ||
        !FindBox(meta, 4, meta.size(), Tag("iprp"), iprp) ||
        !FindBox(meta, iprp.nBody, iprp.nEnd, Tag("ipco"), ipco) ||
        !FindBox(meta, iprp.nBody, iprp.nEnd, Tag("ipma"), ipma))
        return false;
    const bool wideId = ReadByte(meta, pitm.nBody) != 0;
    if (pitm.nBody + 4 + (wideId ? 4 : 2) > pitm.nEnd)
        return false;
    props.nPrimary = wideId ? ReadBE32(meta, pitm.nBody + 4) : ReadBE16(meta, pitm.nBody + 4);
    props.ipco = meta.sliced(ipco.nBody, ipco.nEnd - ipco.nBody);
    props.ipma = meta.sliced(ipma.nBody, ipma.nEnd - ipma.nBody);
    return true;
}

QList<int> CHeifHeader::PrimaryProperties(const SProperties& props) {
    const QByteArrayView d = props.ipma;
    const bool wideId = ReadByte(d, 0) != 0;          // version 1 and later
    const bool wideIndex = (ReadByte(d, 3) & 1) != 0; // flags
    const quint32 entries = std::min(ReadBE32(d, 4), kMaxEntries);
    const qsizetype idBytes = wideId ? 4 : 2, indexBytes = wideIndex ? 2 : 1;
    qsizetype at = 8;
    for (quint32 e = 0; e < entries; ++e) {
        if (at + idBytes + 1 > d.size())
            return {};
        const quint32 item = wideId ? ReadBE32(d, at) : ReadBE16(d, at);
        const int count = int(ReadByte(d, at + idBytes));
        at += idBytes + 1;
        if (at + count * indexBytes > d.size())
            return {};
        if (item != props.nPrimary) {
            at += count * indexBytes;
            continue;
        }
        QList<int> indexes; // the top bit marks a property essential to the picture
        for (int i = 0; i < count; ++i)
            indexes.append(wideIndex ? ReadBE16(d, at + 2 * i) & 0x7FFF
                                     : int(ReadByte(d, at + i) & 0x7F));
        return indexes;
    }
    return {};
}

void CHeifHeader::ApplyProperties(const SProperties& props, const QList<int>& indexes,
                                  SPictureInfo& info) {
    quint32 width = 0, height = 0, quarters = 0;
    SBox box;
    qsizetype at = 0;
    for (int n = 1; n <= kMaxBoxes && ReadBox(props.ipco, at, props.ipco.size(), box);
         ++n, at = box.nEnd) {
        if (!indexes.contains(n))
            continue;
        if (box.nType == Tag("ispe") && box.nBody + 12 <= box.nEnd) { // version and flags first
            width = ReadBE32(props.ipco, box.nBody + 4);
            height = ReadBE32(props.ipco, box.nBody + 8);
        } else if (box.nType == Tag("irot") && box.nBody < box.nEnd) {
            quarters = ReadByte(props.ipco, box.nBody) & 3; // anticlockwise
        }
    }
    if (width == 0 || height == 0)
        return;
    if (quarters % 2)
        std::swap(width, height);
    info.nWidth = int(std::min<quint32>(width, INT_MAX));
    info.nHeight = int(std::min<quint32>(height, INT_MAX));
}

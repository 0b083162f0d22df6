#include "picture/format/CTiffDirectory.h"

#include "picture/format/ByteReader.h"

#include <algorithm>

namespace {
constexpr quint32 kShort = 3;
constexpr quint32 kAscii = 2;
constexpr quint32 kLong = 4;
constexpr quint32 kSignedLong = 9;
constexpr quint32 kIfd = 13;
constexpr qint64 kEntryBytes = 12;
// More entries than any camera writes: the directory is taken as damaged, as the metadata
// library takes it.
constexpr qint64 kMaxEntries = 256;
} // namespace

CTiffDirectory::CTiffDirectory(QByteArrayView data)
    : m_data(data), m_bLittle(data.startsWith(QByteArrayView("II*\0", 4))),
      m_bValid(m_bLittle || data.startsWith(QByteArrayView("MM\0*", 4))) {
}

QByteArrayView CTiffDirectory::JpegExif(QByteArrayView head, bool* beyond) {
    if (beyond)
        *beyond = false;
    if (!head.startsWith("\xFF\xD8"))
        return {};
    qsizetype at = 2;
    while (at + 4 <= head.size() && ReadByte(head, at) == 0xFF) {
        const quint32 marker = ReadByte(head, at + 1);
        if (marker == 0xDA || marker == 0xD9)
            return {}; // the picture data starts: no metadata after it
        const qsizetype length = ReadBE16(head, at + 2);
        if (length < 2)
            return {};
        const bool exif = marker == 0xE1 && length > 16 && at + 10 <= head.size() &&
                          head.sliced(at + 4).startsWith(QByteArrayView("Exif\0\0", 6));
        if (exif) {
            if (beyond)
                *beyond = at + 2 + length > head.size(); // the block is cut
            return head.sliced(at + 10, std::min<qsizetype>(length - 8, head.size() - at - 10));
        }
        at += 2 + length;
    }
    if (beyond)
        *beyond = at + 4 > head.size();
    return {};
}

quint32 CTiffDirectory::U16(qint64 at) const {
    return m_bLittle ? ReadLE16(m_data, at) : ReadBE16(m_data, at);
}

quint32 CTiffDirectory::U32(qint64 at) const {
    return m_bLittle ? ReadLE32(m_data, at) : ReadBE32(m_data, at);
}

quint32 CTiffDirectory::First() const {
    return m_bValid ? U32(4) : 0;
}

quint32 CTiffDirectory::Next(quint32 ifd) const {
    if (!m_bValid || ifd == 0)
        return 0;
    const qint64 at = qint64(ifd) + 2 + kEntryBytes * U16(ifd);
    return at + 4 <= m_data.size() ? U32(at) : 0;
}

qint64 CTiffDirectory::Entry(quint32 ifd, quint16 tag) const {
    if (!m_bValid || ifd == 0)
        return -1;
    const qint64 count = U16(ifd);
    if (count > kMaxEntries)
        return -1;
    for (qint64 i = 0; i < count; ++i) {
        const qint64 entry = qint64(ifd) + 2 + kEntryBytes * i;
        if (entry + kEntryBytes > m_data.size())
            break;
        if (U16(entry) == tag)
            return entry;
    }
    return -1;
}

quint32 CTiffDirectory::Tag(quint32 ifd, quint16 tag) const {
    const qint64 entry = Entry(ifd, tag);
    if (entry < 0)
        return 0;
    return U16(entry + 2) == kShort ? U16(entry + 8) : U32(entry + 8);
}

quint32 CTiffDirectory::Pointer(quint32 ifd, quint16 tag) const {
    const qint64 entry = Entry(ifd, tag);
    const quint32 type = entry < 0 ? 0 : U16(entry + 2);
    if ((type != kLong && type != kSignedLong && type != kIfd) || U32(entry + 4) == 0)
        return 0;
    return U32(entry + 8);
}

QList<quint32> CTiffDirectory::Values(quint32 ifd, quint16 tag, int max) const {
    const qint64 entry = Entry(ifd, tag);
    const quint32 type = entry < 0 ? 0 : U16(entry + 2);
    if (type != kShort && type != kLong && type != kIfd)
        return {};
    const qint64 size = type == kShort ? 2 : 4;
    const qint64 count = std::min<qint64>(U32(entry + 4), max);
    // Four bytes or fewer are held in the entry itself, more where it points.
    const qint64 at = qint64(U32(entry + 4)) * size <= 4 ? entry + 8 : qint64(U32(entry + 8));
    if (count <= 0 || at + count * size > m_data.size())
        return {};
    QList<quint32> values;
    for (qint64 i = 0; i < count; ++i)
        values << (size == 2 ? U16(at + 2 * i) : U32(at + 4 * i));
    return values;
}

QByteArray CTiffDirectory::Ascii(quint32 ifd, quint16 tag) const {
    const qint64 entry = Entry(ifd, tag);
    if (entry < 0 || U16(entry + 2) != kAscii)
        return {};
    const quint32 count = U32(entry + 4);
    QByteArrayView text =
        count <= 4 ? m_data.sliced(entry + 8, count) : Slice(U32(entry + 8), count);
    while (!text.isEmpty() && text.back() == '\0')
        text.chop(1);
    return text.toByteArray();
}

QByteArrayView CTiffDirectory::Slice(quint32 offset, quint32 length) const {
    if (offset == 0 || length == 0 || qint64(offset) + length > m_data.size())
        return {};
    return m_data.sliced(offset, length);
}

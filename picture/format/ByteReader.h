#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Bounds-checked reads of little- and big-endian integers from a file header; a read past
// the end gives 0, so a short header fails the plausibility checks instead of overrunning.
inline quint32 ReadByte(QByteArrayView d, qsizetype at) {
    return at >= 0 && at < d.size() ? static_cast<uchar>(d[at]) : 0u;
}
inline quint16 ReadLE16(QByteArrayView d, qsizetype at) {
    return at + 2 > d.size() ? 0 : static_cast<quint16>(ReadByte(d, at) | ReadByte(d, at + 1) << 8);
}
inline quint16 ReadBE16(QByteArrayView d, qsizetype at) {
    return at + 2 > d.size() ? 0 : static_cast<quint16>(ReadByte(d, at) << 8 | ReadByte(d, at + 1));
}
inline quint32 ReadLE32(QByteArrayView d, qsizetype at) {
    return at + 4 > d.size() ? 0 : ReadLE16(d, at) | quint32(ReadLE16(d, at + 2)) << 16;
}
inline quint32 ReadBE32(QByteArrayView d, qsizetype at) {
    return at + 4 > d.size() ? 0 : quint32(ReadBE16(d, at)) << 16 | ReadBE16(d, at + 2);
}

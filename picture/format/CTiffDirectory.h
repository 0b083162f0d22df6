#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QtGlobal>

// The image file directories of a TIFF structure (an EXIF block) in either byte order. Every
// read is bounds-checked: an offset outside the data reads as absent, never past it, and a
// directory claiming more than 256 entries as empty.
class CTiffDirectory {
public:
    explicit CTiffDirectory(QByteArrayView data);

    // The TIFF structure of a JPEG file's EXIF block, found among the marker segments at the
    // file's start; empty when there is none. `beyond`, when given, is set when the segments
    // run on past the end of `head` before the picture data starts (the block may lie further
    // on), or the block itself does (what is given of it is cut).
    static QByteArrayView JpegExif(QByteArrayView head, bool* beyond = nullptr);

    bool IsValid() const { return m_bValid; }
    // The first directory's offset, or 0.
    quint32 First() const;
    // The directory after the one at `ifd`, or 0.
    quint32 Next(quint32 ifd) const;
    // The value of a SHORT or LONG tag in the directory at `ifd` (its first, if several), or 0.
    quint32 Tag(quint32 ifd, quint16 tag) const;
    // The values of a SHORT, LONG or IFD tag in the directory at `ifd`, at most `max` of
    // them; empty when the tag is absent, of another type, or its values lie outside the data.
    QList<quint32> Values(quint32 ifd, quint16 tag, int max) const;
    // The offset a LONG or IFD tag in the directory at `ifd` points to (a directory's), or 0.
    quint32 Pointer(quint32 ifd, quint16 tag) const;
    // The text of an ASCII tag in the directory at `ifd`, without its closing NULs; empty
    // when the tag is absent, of another type, or its text lies outside the data.
    QByteArray Ascii(quint32 ifd, quint16 tag) const;
    // `length` bytes at `offset`; empty when they do not all lie inside the data.
    QByteArrayView Slice(quint32 offset, quint32 length) const;

private:
    quint32 U16(qint64 at) const;
    quint32 U32(qint64 at) const;
    // Where the entry of `tag` starts in the directory at `ifd`, or -1.
    qint64 Entry(quint32 ifd, quint16 tag) const;

    QByteArrayView m_data;
    bool m_bLittle;
    bool m_bValid;
};

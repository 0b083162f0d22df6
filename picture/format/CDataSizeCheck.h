#pragma once

#include "picture/format/PictureInfo.h"

#include <QString>

class QIODevice;

// Checks, before any memory is asked for the pixels, that a file holds the data its header
// promises: a short file is damaged, not huge. A PNG part that claims more bytes than the
// file has left, compressed data too small to expand to the picture's size (PNG, JPEG), or
// an uncompressed bitmap shorter than its rows are refused, so that a few hundred bytes can no
// longer make a decoder set aside hundreds of megabytes.
class CDataSizeCheck {
public:
    // Empty when the data can be what the header says; otherwise the reason to show.
    static QString Check(QIODevice& file, const SPictureInfo& info);

    // Compressed data expands by this much at most (deflate's limit is about 1032:1).
    static constexpr qint64 kMaxDeflateRatio = 1100;
    // Huffman-coded JPEG spends at least one bit on every 8 x 8 block of brightness; a file
    // with less than one byte for this many pixels cannot be whole.
    static constexpr qint64 kMaxJpegPixelsPerByte = 1024;

private:
    static QString CheckPng(QIODevice& file, const SPictureInfo& info);
    static QString CheckBmp(QIODevice& file, const SPictureInfo& info);
    static QString CheckJpeg(QIODevice& file, const SPictureInfo& info);
};

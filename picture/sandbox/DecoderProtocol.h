#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// What the decoder helper answers on its standard output: one line, either
//   "OK <width> <height> <bits per pixel> <alpha 0|1>[ <own width> <own height>]"
// with the pixels (32 bits a pixel, rows packed, Qt's RGB32 or ARGB32 layout) in the shared
// memory it was handed (the own size, when given, is the picture's whole size where the pixels
// are a smaller stand-in: a camera RAW file's preview or half-size decode), or
//   "ERR <reason>"
// The answer comes from a process that decodes hostile files, so the reading side checks
// every field before it trusts it.
namespace decoder_protocol {

// Descriptors the helper finds open: the file to decode, and the memory for the pixels.
inline constexpr int kInputFd = 3;
inline constexpr int kPixelsFd = 4;
// A run on many files finds them open from this descriptor on, at most kMaxFiles of them.
inline constexpr int kFirstFileFd = kPixelsFd + 1;
inline constexpr int kMaxFiles = 64;
// The longest answer line read back.
inline constexpr int kMaxAnswer = 4096;

struct SAnswer {
    bool bOk = false;
    int nWidth = 0;
    int nHeight = 0;
    int nBits = 0;
    bool bAlpha = false;
    int nOwnWidth = 0; // 0: the picture's size is the pixels' size
    int nOwnHeight = 0;
    QString strError;

    qint64 PixelBytes() const { return qint64(nWidth) * nHeight * 4; }
};

QByteArray FormatAnswer(const SAnswer& answer);
// False when the line is no well-formed answer or describes an impossible picture.
bool ParseAnswer(QByteArrayView line, SAnswer& answer);

} // namespace decoder_protocol

#pragma once

#include <QByteArrayView>
#include <QStringView>

// The imaging control's format codes and the recognition of a picture file's real type
// from its content (the name only breaks the tie for the two types without a signature).
namespace picfmt {
inline constexpr int kUnknown = 0;
inline constexpr int kPcx = 1;
inline constexpr int kTif = 3;
inline constexpr int kTga = 4;
inline constexpr int kBmp = 6;
inline constexpr int kJpg = 10;
inline constexpr int kWmf = 15;
inline constexpr int kEps = 16;
inline constexpr int kMac = 51;
inline constexpr int kMsp = 53;
inline constexpr int kWpg = 54;
inline constexpr int kRas = 55;
inline constexpr int kPng = 75;
inline constexpr int kPsd = 76;
inline constexpr int kWebp = 80;
inline constexpr int kHeic = 81;
inline constexpr int kAvif = 82;
inline constexpr int kRaw = 83; // camera RAW of any maker

// How many bytes of the file's start and end DetectFormat wants to see.
inline constexpr int kDetectHeadBytes = 132;
inline constexpr int kDetectTailBytes = 26;

// The format code of a file that starts with `head` and ends with `tail`; `suffix` is the
// file name's extension without the dot. kUnknown when it is none of the listed types.
int DetectFormat(QByteArrayView head, QByteArrayView tail, QStringView suffix);
} // namespace picfmt

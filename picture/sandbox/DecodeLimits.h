#pragma once

#include <QtGlobal>

// The largest pictures the program agrees to decode, and the limits handed to the
// decoding libraries so that a hostile header cannot make them allocate without bound.
namespace limits {
inline constexpr qint64 kMaxPixels = 128LL * 1024 * 1024; // 128 megapixels
inline constexpr int kMaxSide = 65535;
// Files read whole into memory for the decoders that work on a buffer.
inline constexpr qint64 kMaxBufferedFile = 256LL * 1024 * 1024;
// Files up to this size reach the decoder helper as a sealed copy in memory (a few
// milliseconds); larger ones (camera RAW files) as a read-only descriptor, which the
// helper's confinement keeps it from reopening for writing.
inline constexpr qint64 kMaxSealedCopy = 8LL * 1024 * 1024;
// Qt refuses any single image allocation above this many megabytes (4 bytes a pixel).
inline constexpr int kQtAllocationMB = 520;
// ImageMagick, for the legacy types: below the distribution's own policy. Its pixel cache
// takes 8 bytes a pixel and the area limit counts those bytes, so 256 MB lets a 12-megapixel
// picture through (at 24 megapixels the helper's address space runs out first).
inline constexpr qint64 kMagickMemory = 256LL * 1024 * 1024;
inline constexpr qint64 kMagickMap = 384LL * 1024 * 1024;
inline constexpr qint64 kMagickArea = 256LL * 1024 * 1024;
inline constexpr qint64 kMagickSide = 16000;
// Ghostscript is stopped after this long.
inline constexpr int kGhostscriptTimeoutMs = 15000;
// The address space a decoder helper process may take.
inline constexpr qint64 kDecoderMemory = 1024LL * 1024 * 1024;

inline bool WithinLimits(qint64 width, qint64 height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           width * height <= kMaxPixels;
}

// Sets Qt's ceiling on one image allocation to kQtAllocationMB for every reader in the
// process (Qt keeps a single one). Done once, by whichever thread comes first; every use of
// Qt's image readers calls this before it starts.
void ApplyQtAllocationLimit();
} // namespace limits

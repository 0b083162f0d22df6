#pragma once

// What the header of a picture file tells: its real type, its size and its colour depth.
// Width and height are those of the picture as it is shown (upright after any EXIF
// rotation); zero means unknown.
struct SPictureInfo {
    int nFormat = 0;
    int nWidth = 0;
    int nHeight = 0;
    int nBitsPerPixel = 0;

    bool HasSize() const { return nWidth > 0 && nHeight > 0; }
};

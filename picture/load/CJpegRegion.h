#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>

// Decodes one part of a JPEG at its own size, without the rest: the part of a camera-size
// photograph a view at 100 % shows, on screen long before the whole picture is decoded.
// Rows above the part are only entropy-decoded, columns beside it and rows below it not at
// all. The pixels are those a whole decode gives for that part. Only upright pictures
// (no EXIF turn) of one or three colour components are read; anything else, and damaged
// data, gives a null image, and the whole decode serves.
class CJpegRegion {
public:
    // The pixels of `region` (clipped to the picture) of the JPEG in `data`.
    static QImage Read(const QByteArray& data, QRect region);
    // The part worth decoding first: `visible`, grown by a margin, in a picture of `own`
    // size; empty when it is most of the picture anyway.
    static QRect Worth(QRect visible, QSize own);
};

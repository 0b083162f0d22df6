#pragma once

#include <QByteArray>
#include <QImage>
#include <atomic>

// Makes the thumbnail of one picture: the preview a camera stored in the JPEG's EXIF
// block when it is large enough, else the picture decoded as small as its type allows and
// scaled to fit. Types Qt does not read itself are decoded in the sandboxed helper (the
// picture source decides). Runs on any thread; a raised cancel flag stops the decode.
class CThumbnailMaker {
public:
    // The thumbnail, at most `edge` pixels wide and high; null when the picture cannot be
    // read.
    static QImage Make(const QByteArray& nativePath, int edge,
                       const std::atomic<bool>* cancel = nullptr);
    // The EXIF preview of a JPEG fitted to `edge`, when it is at least `edge` pixels on
    // its longer side; else null.
    static QImage FromExif(const QByteArray& nativePath, int edge);

private:
    static QImage Decoded(const QByteArray& nativePath, int edge, const std::atomic<bool>* cancel);
    static QImage Fitted(const QImage& image, int edge);
};

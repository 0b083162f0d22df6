#pragma once

#include <atomic>

#include "picture/format/PictureInfo.h"

#include <QIODevice>
#include <QImage>
#include <QString>

// Decodes the types Qt reads itself (PNG, JPEG, BMP, TIFF, Targa, WebP) with the EXIF
// orientation applied. JPEG is decoded straight at the size it will be shown.
class CQtPictureReader {
public:
    // Qt's own name of the image reader for a format code, or empty.
    static QByteArray ReaderName(int format);

    // Fills the upright size (and the depth, where the header probe left it open) without
    // decoding pixels, from a device open for reading, from where it stands. False, with
    // `error`, when Qt cannot read the file.
    static bool ReadHeader(QIODevice* device, int format, SPictureInfo& info, QString& error);

    // The picture, at `target` (upright pixels) when the reader can scale while decoding and
    // target is smaller than the picture; otherwise the whole picture. Null, with `error`,
    // on failure.
    // Raising *cancel makes the file read fail, so the decoder stops early. Read through `fd`
    // (the file opened already, from its start) where it is given, else opened by its path.
    static QImage Decode(const QString& path, int format, QSize target, QString& error,
                         const std::atomic<bool>* cancel = nullptr, int fd = -1);

private:
    static int DepthOf(QImage::Format format);
};

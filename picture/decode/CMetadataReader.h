#pragma once

#include "picture/format/PictureMetadata.h"

#include <QByteArray>
#include <QString>

// Reads what a picture file records about the picture (EXIF and XMP, in JPEG, TIFF, PNG,
// WebP, the HEIF containers and the camera RAW types) with Exiv2. Runs in the decoder
// helper only: the file is hostile, and anything the library throws becomes `error`.
class CMetadataReader {
public:
    // The camera's record in `data`, a file of type `format` (picfmt); empty facts, and a
    // reason, when it cannot be read.
    static PictureMetadata Read(const QByteArray& data, int format, QString& error);
};

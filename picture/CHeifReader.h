#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes HEIC, HEIF and AVIF files: the container's primary image, turned and mirrored as
// the container says. Run in the decoder helper process only.
class CHeifReader {
public:
    // The picture, or a null image with `error`; `bits` gets the depth per pixel of the
    // stored picture (24, or 32 with alpha; more for deeper pictures).
    static QImage Read(const QByteArray& data, int& bits, QString& error);
};

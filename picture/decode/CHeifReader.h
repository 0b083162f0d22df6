#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes HEIC, HEIF and AVIF files: the container's primary image, turned and mirrored as
// the container says. Run in the decoder helper process only.
class CHeifReader {
public:
    // The picture, or a null image with `error`; `bits` gets the depth per pixel shown (24,
    // or 32 with alpha; pictures of 10 or 12 bits a channel are shown at 8).
    static QImage Read(const QByteArray& data, int& bits, QString& error);
    // The small preview the file stores of its primary image (its thumbnail item), the same
    // way; a null image when it has none.
    static QImage ReadThumbnail(const QByteArray& data, int& bits, QString& error);

private:
    static QImage ReadItem(const QByteArray& data, bool thumbnail, int& bits, QString& error);
};

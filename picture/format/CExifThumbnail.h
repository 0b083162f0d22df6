#pragma once

#include <QByteArrayView>
#include <QImage>

// The small preview a camera stores in a JPEG's EXIF block (in the second image file
// directory), turned upright the way the EXIF orientation turns the picture itself.
class CExifThumbnail {
public:
    // How many bytes of the file's start Read needs at most.
    static constexpr int kHeadBytes = 128 * 1024;

    // The preview from the start of a JPEG file; null when there is none, or it is damaged
    // or implausibly large.
    static QImage Read(QByteArrayView head);
    // The image turned and mirrored as EXIF orientation 1 to 8 says (others: unchanged).
    static QImage Upright(const QImage& image, int orientation);
};

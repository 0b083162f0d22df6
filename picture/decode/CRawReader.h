#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class LibRaw;

// Decodes camera RAW files with LibRaw: the preview the camera stored in the file when it is
// at least as large as the picture is shown (fast), else the sensor's data at half its size;
// both turned and mirrored as the file says. Run in the decoder helper process only: LibRaw
// parses the hostile file.
class CRawReader {
public:
    struct SResult {
        QImage image;  // upright; null, with strError, when the file cannot be shown
        QSize ownSize; // the sensor's picture, upright: what the status text tells
        QString strError;
    };

    // `target` is the upright size the picture is shown at; an empty one asks for the
    // largest picture offered. The file is in memory...
    static SResult Read(const QByteArray& data, QSize target);
    // ... or read from `path` as far as needed (a preview near the start of a large file
    // needs little of it).
    static SResult ReadFile(const QByteArray& path, QSize target);

    // Whether a preview of `preview` pixels (upright) stands in for a sensor of `own`: when it
    // covers the target, or is no smaller than the half-size decode would be. Its shape must
    // be the sensor's (cameras pad some previews to another shape).
    static bool PreviewServes(QSize preview, QSize own, QSize target);
    // LibRaw's flip code (bits: 1 mirror across, 2 mirror down, 4 swap axes) as the EXIF
    // orientation 1 to 8 that turns the same way.
    static int ExifOrientation(int flip);

private:
    static SResult Decode(LibRaw& raw, int openCode, QSize target);
};

#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes the legacy types (PCX, Sun raster, Photoshop, WordPerfect Graphics, Windows
// metafiles, MacPaint, and Targa files Qt refuses) with ImageMagick. The coder is the one
// our own type detection chose, never one the library guesses; only the first frame is
// read, within resource limits set below the distribution's policy.
class CMagickReader {
public:
    // Decodes `data`, a whole file of type `format`. Fills `bitsPerPixel` with the depth of
    // the decoded picture. Null, with `error`, when the file cannot be decoded.
    static QImage Read(const QByteArray& data, int format, int& bitsPerPixel, QString& error);

    // The library's name of the coder for a format code, or empty when it is not ours.
    static QByteArray CoderName(int format);

private:
    static void Initialise();
    static QString ShortReason(const char* what);
};

#pragma once

#include <QString>

// The texts the picture list writes into the status bar and the caption.
namespace picture_status {

// "C:\PICS\SUNSET.JPG - 640x480x24 bpp,  900 bytes,  JFIF Compliant": the upper-case path,
// the picture's figures, the file size and the description of its format.
QString StatusText(const QString& path, long width, long height, int bitsPerPixel, qint64 fileSize,
                   const QString& description);

// "/PICS/BROKEN.JPG - The picture data is damaged,  900 bytes,  JFIF Compliant": a file
// that could not be shown, with the reason in place of the picture's figures.
QString FailedText(const QString& path, const QString& reason, qint64 fileSize,
                   const QString& description);

// " Sunset.jpg": a space and the part of the path after its last separator; a lone space for
// a path without one.
QString TitleFileName(const QString& path);

// "%d files".
QString FileCountText(int count);

// The text and title when there is no current file.
QString IdleText();  // "Ready"
QString IdleTitle(); // " Ostlewin"

} // namespace picture_status

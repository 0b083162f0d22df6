#pragma once

#include "sorting/session/PictureFacts.h"

#include <QString>

class QFontMetrics;

// The texts the picture list writes into the status bar and the caption.
namespace picture_status {

// "/pics/Sunset.jpg - 640x480x24 bpp,  900 bytes,  JFIF Compliant": the path as it is (names
// differ by case on most file systems), the picture's figures, the file size and the
// description of its format. Figures not known yet (0) are left out: "PATH - 640x480,  ..."
// without the depth, "PATH - 900 bytes,  ..." without the size.
QString StatusText(const QString& path, long width, long height, int bitsPerPixel, qint64 fileSize,
                   const QString& description);

// "/pics/broken.jpg - The picture data is damaged,  900 bytes,  JFIF Compliant": a file
// that could not be shown, with the reason (its closing full stop left off) in place of the
// picture's figures; without a known type the text ends with the size.
QString FailedText(const QString& path, const QString& reason, qint64 fileSize,
                   const QString& description);

// The text of the picture on show: its figures as StatusText, or why it could not be shown
// as FailedText, or only its path while neither is known yet (its header is still being
// read on a slow share); the idle text without a picture.
QString PictureText(const QString& path, const PictureFacts& facts);

// The status text as it fits `width` pixels: whole when it fits. Otherwise a file's text
// ("PATH - figures") loses the middle of its folders, so the file name, the figures and the
// type stay in view; any other text loses its end.
QString FitToWidth(const QString& text, const QFontMetrics& metrics, int width);

// " Sunset.jpg": a space and the part of the path after its last separator; a lone space for
// a path without one.
QString TitleFileName(const QString& path);

// "%d files".
QString FileCountText(int count);
// "12 pictures selected"; empty while one picture or none is selected.
QString SelectedPicturesText(int count);

// "Moving "a.jpg" to "/keep": 40% done": how far a long copy has come.
QString CopyProgressText(const QString& what, qint64 done, qint64 total);
// "Finishing 3 sort actions...": the window waits for them before it closes.
QString FinishingText(int pending);

// The text and title when there is no current file.
QString IdleText();  // "Ready"
QString IdleTitle(); // " Ostlewin"

} // namespace picture_status

#pragma once

#include <QString>

// What the picture view found out about the current picture, for the status texts.
struct PictureFacts {
    long width = 0;
    long height = 0;
    int bitsPerPixel = 0;
    qint64 fileSize = 0;
    QString description; // the format's description, empty when unknown
    bool bShown = true;  // false: the picture could not be shown, `error` says why
    QString error;
};

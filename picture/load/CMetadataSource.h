#pragma once

#include "picture/format/PictureInfo.h"
#include "picture/format/PictureMetadata.h"

#include <QDateTime>
#include <QString>
#include <atomic>

// What a picture file says about the picture, for the main program: its real type and size
// from the file, and the camera's record, which only the decoder helper reads. Blocks for
// the helper's run (tens of milliseconds): call it off the interface thread.
class CMetadataSource {
public:
    // Everything known of the file at `path`; a file that cannot be read gives empty facts
    // (fileSize -1). A set `cancel` flag stops the helper.
    static PictureMetadata Read(const QString& path, const std::atomic<bool>* cancel = nullptr);
    // The moment the picture was taken, as the camera's clock showed it; invalid when the
    // file does not record it. The one reading of the date for everything that shows or
    // sorts by it.
    static QDateTime DateTaken(const QString& path);

private:
    // The file's type and, where its header tells it, the size it is shown at.
    static SPictureInfo Header(const QString& path);
};

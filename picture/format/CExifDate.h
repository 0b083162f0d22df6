#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

// The moment a picture was taken, as its EXIF record gives it: DateTimeOriginal, else
// DateTimeDigitized, else DateTime, each with its own offset from UTC (OffsetTimeOriginal,
// OffsetTimeDigitized, OffsetTime) where the record has one. With the offset, the result
// is that moment at that offset (Qt::OffsetFromUTC); without it, the camera's clock face as
// local time.
class CExifDate {
public:
    // The moment from the record's texts: `date` as "yyyy:MM:dd HH:mm:ss" (anything after
    // the seconds ignored), `offset` as "+HH:MM" or "-HH:MM" (anything else: no offset).
    static QDateTime Compose(const QString& date, const QString& offset);
    // The moment from an EXIF block's TIFF structure; invalid when it records none.
    static QDateTime FromTiff(QByteArrayView tiff);
    // An offset text in seconds east of UTC; false when it is none (at most 14 hours).
    static bool OffsetSeconds(const QString& offset, int& seconds);
};

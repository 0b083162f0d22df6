#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

// Reads Microsoft Paint pictures: black-and-white bitmaps with a 32-byte header, stored
// as they are (version 1, "DanM") or run-length encoded line by line after a table of
// line lengths (version 2, "LinS"). A set bit is white.
class CMspReader {
public:
    static constexpr int kHeaderBytes = 32;

    static QImage Read(QByteArrayView data, QString& error);

private:
    // Whether the data can describe every line of a picture of that size at all.
    static bool HasDataFor(QByteArrayView data, bool version1, int width, int height);
    static bool ReadVersion1(QByteArrayView data, QImage& image);
    static bool ReadVersion2(QByteArrayView data, QImage& image);
    // Expands one run-length encoded line into `line`; false when the data runs short.
    static bool ExpandLine(QByteArrayView packed, uchar* line, int lineBytes);
};

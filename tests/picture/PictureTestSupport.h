#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

// Helpers shared by the picture tests.
namespace pictest {

// The folder of the committed fixtures (24 x 16, left half red, right half blue).
QString FixturePath(const QString& name);
QByteArray ReadAll(const QString& path);
QString WriteBytes(const QString& path, const QByteArray& data);

// A JPEG of w x h, left half red and right half blue, optionally with an EXIF orientation.
QByteArray MakeJpeg(int w, int h, int exifOrientation = 0);

// True when the colour is near the expected one (JPEG and scaling blur the exact values).
bool Near(QRgb actual, QColor expected, int tolerance = 48);

} // namespace pictest

#include "tests/picture/PictureTestSupport.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QtEndian>

namespace pictest {

QString FixturePath(const QString& name) {
    return qEnvironmentVariable("VANTREL_TEST_SOURCE") +
           QStringLiteral("/tests/picture/fixtures/") + name;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString WriteBytes(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size())
        return QString();
    return path;
}

namespace {
// An APP1 segment holding an EXIF block with nothing but the Orientation tag.
QByteArray ExifSegment(int orientation) {
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    tiff += QByteArray("\x01\0", 2);                   // one entry
    tiff += QByteArray("\x12\x01\x03\0\x01\0\0\0", 8); // Orientation, SHORT, count 1
    tiff += char(orientation);
    tiff += QByteArray(3, '\0');
    tiff += QByteArray(4, '\0'); // no next directory
    const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
    QByteArray segment("\xFF\xE1", 2);
    const quint16 length = quint16(body.size() + 2);
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    return segment + body;
}
} // namespace

QByteArray MakeJpeg(int w, int h, int exifOrientation) {
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h, Qt::blue);
    p.end();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    if (exifOrientation)
        jpeg.insert(2, ExifSegment(exifOrientation));
    return jpeg;
}

bool Near(QRgb actual, QColor expected, int tolerance) {
    return qAbs(qRed(actual) - expected.red()) <= tolerance &&
           qAbs(qGreen(actual) - expected.green()) <= tolerance &&
           qAbs(qBlue(actual) - expected.blue()) <= tolerance;
}

} // namespace pictest

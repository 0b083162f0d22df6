#pragma once

#include "picture/sandbox/CDecoderClient.h"
#include "picture/sandbox/CDecoderSandbox.h"
#include "tests/support/TestSupport.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QTemporaryDir>
#include <QtEndian>

// Helpers shared by the picture tests.
namespace pictest {

// Whether the decoder helper can run in bubblewrap here (the automatic choice restored).
inline bool BubblewrapUsable() {
    CDecoderSandbox::SetMode(CDecoderSandbox::EMode::Automatic);
    return CDecoderSandbox::UsesBubblewrap();
}

// The decoder client and its sandbox back to the program's own settings.
inline void ResetDecoderClient() {
    CDecoderClient::Shutdown(); // the helper started ahead for the last settings
    CDecoderSandbox::SetMode(CDecoderSandbox::EMode::Automatic);
    CDecoderClient::SetHelper(QString());
    CDecoderClient::SetTimeout(15000);
    CDecoderClient::SetCpuLimit(0);
    CDecoderClient::SetMemoryLimit(1024LL * 1024 * 1024);
}

// Numbers as the file formats write them, and the CRC of PNG chunks.
inline QByteArray LE16(quint16 v) {
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}
inline QByteArray LE32(quint32 v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}
inline QByteArray BE32(quint32 v) {
    QByteArray b(4, '\0');
    qToBigEndian(v, b.data());
    return b;
}
inline quint32 Crc32(QByteArrayView data) {
    quint32 crc = 0xFFFFFFFFu;
    for (char c : data) {
        crc ^= static_cast<uchar>(c);
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

// A committed fixture (24 x 16, left half red, right half blue).
inline QString FixturePath(const QString& name) {
    return qEnvironmentVariable("VANTREL_TEST_SOURCE") + "/tests/picture/fixtures/" + name;
}

inline QByteArray ReadAll(const QString& path) {
    return ReadBytes(QFile::encodeName(path));
}

// Writes data to path and returns the path, or an empty string when that failed.
inline QString WriteBytes(const QString& path, const QByteArray& data) {
    return ::WriteBytes(QFile::encodeName(path), data) ? path : QString();
}

// A JPEG segment: marker, length, body.
inline QByteArray JpegSegment(uchar marker, const QByteArray& body) {
    const int length = int(body.size()) + 2;
    return QByteArray("\xFF") + char(marker) + char(length >> 8) + char(length & 0xFF) + body;
}

// An EXIF segment carrying `preview` (in the second image directory), as cameras store it.
inline QByteArray ExifPreviewSegment(const QByteArray& preview) {
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    tiff += QByteArray("\0\0", 2) + QByteArray("\x0e\0\0\0", 4); // IFD0 empty, IFD1 at 14
    const auto entry = [](quint16 tag, quint32 value) {
        QByteArray e(12, '\0');
        qToLittleEndian(tag, e.data());
        qToLittleEndian(quint16(4), e.data() + 2);
        qToLittleEndian(quint32(1), e.data() + 4);
        qToLittleEndian(value, e.data() + 8);
        return e;
    };
    const quint32 previewAt = 14 + 2 + 2 * 12 + 4;
    tiff += QByteArray("\x02\0", 2) + entry(0x201, previewAt) +
            entry(0x202, quint32(preview.size())) + QByteArray(4, '\0');
    return JpegSegment(0xE1, QByteArray("Exif\0\0", 6) + tiff + preview);
}

// A JPEG of w x h, left half red and right half blue, optionally with an APP1 segment
// holding an EXIF block with nothing but the Orientation tag.
inline QByteArray MakeJpeg(int w, int h, int exifOrientation = 0) {
    QImage image(w, h, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, w / 2, h, Qt::red);
    p.fillRect(w / 2, 0, w - w / 2, h, Qt::blue);
    p.end();
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    if (exifOrientation) {
        // Little-endian TIFF header, one entry: Orientation, SHORT, count 1; no next directory.
        QByteArray body("Exif\0\0II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 24);
        body += char(exifOrientation) + QByteArray(7, '\0');
        const int length = int(body.size()) + 2;
        jpeg.insert(2, QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + body);
    }
    return jpeg;
}

// True when the colour is near the expected one (JPEG and scaling blur the exact values).
inline bool Near(QRgb actual, QColor expected, int tolerance = 48) {
    return qAbs(qRed(actual) - expected.red()) <= tolerance &&
           qAbs(qGreen(actual) - expected.green()) <= tolerance &&
           qAbs(qBlue(actual) - expected.blue()) <= tolerance;
}

// Stand-ins for the decoder helper live beside the test: the sandbox's own /tmp is empty.
inline QString FakeDir() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/fake-decoder-XXXXXX");
}

// A stand-in for the decoder helper: a shell script doing `body`.
inline QString FakeHelper(const QTemporaryDir& dir, const QByteArray& body) {
    const QString path = dir.filePath(QStringLiteral("fake-decoder"));
    WriteBytes(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// A picture of `size`, its left half green and its right half magenta, as a camera's previews are
// here.
inline QImage SplitPicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.fillRect(0, 0, size.width() / 2, size.height(), Qt::green);
    p.fillRect(size.width() / 2, 0, size.width() - size.width() / 2, size.height(), Qt::magenta);
    p.end();
    return image;
}

// A JPEG of `size`, green on the left and magenta on the right: the preview a camera stores.
// The sensor's data (see make-dng.py) is red on the left and blue on the right, so the
// colours tell which of the two was shown.
inline QByteArray PreviewJpeg(QSize size) {
    const QImage image = SplitPicture(size);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return jpeg;
}

// A DNG written by the fixture script: sensor of `sensor`, the preview given (none when
// empty), the Orientation tag; `cut` keeps only that many bytes; `thumbnail`, when given, is
// stored uncompressed in the first directory. Empty when it failed.
inline QByteArray MakeDng(const QTemporaryDir& dir, QSize sensor, const QByteArray& preview,
                          int orientation = 1, int cut = -1, const QImage& thumbnail = {}) {
    QStringList args{qEnvironmentVariable("VANTREL_TEST_SOURCE") + "/tests/picture/make-dng.py",
                     dir.filePath("out.dng"),
                     "--size",
                     QStringLiteral("%1x%2").arg(sensor.width()).arg(sensor.height()),
                     "--orientation",
                     QString::number(orientation)};
    if (!preview.isEmpty())
        args << "--preview" << WriteBytes(dir.filePath("preview.jpg"), preview);
    if (cut >= 0)
        args << "--cut" << QString::number(cut);
    if (!thumbnail.isNull()) {
        if (!thumbnail.convertToFormat(QImage::Format_RGB888).save(dir.filePath("thumb.ppm")))
            return {};
        args << "--thumbnail" << dir.filePath("thumb.ppm");
    }
    QProcess script;
    script.start(QStringLiteral("python3"), args);
    if (!script.waitForFinished(60000) || script.exitCode() != 0)
        return {};
    return ReadAll(dir.filePath("out.dng"));
}

} // namespace pictest

#include "picture/load/CQtPictureReader.h"

#include "picture/format/PictureFormat.h"
#include "picture/sandbox/DecodeLimits.h"

#include <QFile>
#include <QImageReader>

namespace {
// A file whose reads fail once its picture is no longer wanted.
class CCancellableFile : public QFile {
public:
    CCancellableFile(const QString& path, const std::atomic<bool>* cancel)
        : QFile(path), m_pCancel(cancel) {}

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (m_pCancel && m_pCancel->load(std::memory_order_relaxed))
            return -1;
        return QFile::readData(data, maxSize);
    }

private:
    const std::atomic<bool>* m_pCancel;
};

bool IsTransposed(QImageIOHandler::Transformations t) {
    return t.testFlag(QImageIOHandler::TransformationRotate90);
}
} // namespace

QByteArray CQtPictureReader::ReaderName(int format) {
    switch (format) {
    case picfmt::kPng:
        return "png";
    case picfmt::kJpg:
        return "jpeg";
    case picfmt::kBmp:
        return "bmp";
    case picfmt::kTif:
        return "tiff";
    case picfmt::kTga:
        return "tga";
    case picfmt::kWebp:
        return "webp";
    default:
        return {};
    }
}

int CQtPictureReader::DepthOf(QImage::Format format) {
    switch (format) {
    case QImage::Format_Invalid:
        return 0;
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
        return 24;
    default:
        return QImage::toPixelFormat(format).bitsPerPixel();
    }
}

bool CQtPictureReader::ReadHeader(QIODevice* device, int format, SPictureInfo& info,
                                  QString& error) {
    limits::ApplyQtAllocationLimit();
    QImageReader reader(device, ReaderName(format));
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid()) {
        error = reader.errorString();
        return false;
    }
    const bool transposed = IsTransposed(reader.transformation());
    info.nWidth = transposed ? size.height() : size.width();
    info.nHeight = transposed ? size.width() : size.height();
    if (info.nBitsPerPixel <= 0)
        info.nBitsPerPixel = DepthOf(reader.imageFormat());
    return true;
}

QImage CQtPictureReader::Decode(const QString& path, int format, QSize target, QString& error,
                                const std::atomic<bool>* cancel, int fd) {
    limits::ApplyQtAllocationLimit();
    CCancellableFile file(path, cancel);
    const bool opened =
        fd >= 0 ? file.open(fd, QIODevice::ReadOnly, QFileDevice::DontCloseHandle) && file.seek(0)
                : file.open(QIODevice::ReadOnly);
    if (!opened) {
        error = file.errorString();
        return {};
    }
    QImageReader reader(&file, ReaderName(format));
    reader.setAutoTransform(true);
    if (target.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize)) {
        const QSize full = reader.size();
        const QSize fileTarget =
            IsTransposed(reader.transformation()) ? target.transposed() : target;
        if (fileTarget.width() < full.width() && fileTarget.height() < full.height())
            reader.setScaledSize(fileTarget);
    }
    QImage image = reader.read();
    if (image.isNull())
        error = reader.errorString();
    return image;
}

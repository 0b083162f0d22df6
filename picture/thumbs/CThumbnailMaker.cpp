#include "picture/thumbs/CThumbnailMaker.h"

#include "picture/format/CExifThumbnail.h"
#include "picture/load/CPictureSource.h"

#include <QFile>

QImage CThumbnailMaker::Make(const QByteArray& nativePath, int edge,
                             const std::atomic<bool>* cancel) {
    QImage image = FromExif(nativePath, edge);
    if (image.isNull())
        image = Decoded(nativePath, edge, cancel);
    return image;
}

QImage CThumbnailMaker::FromExif(const QByteArray& nativePath, int edge) {
    QFile file(QFile::decodeName(nativePath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(CExifThumbnail::kHeadBytes);
    if (!head.startsWith("\xFF\xD8"))
        return {};
    const QImage preview = CExifThumbnail::Read(head);
    if (preview.isNull() || qMax(preview.width(), preview.height()) < edge)
        return {};
    return Fitted(preview, edge);
}

QImage CThumbnailMaker::Decoded(const QByteArray& nativePath, int edge,
                                const std::atomic<bool>* cancel) {
    CPictureSource source;
    source.SetCancelFlag(cancel);
    if (!source.Open(QFile::decodeName(nativePath)))
        return {};
    const SPictureInfo& info = source.Info();
    QSize target;
    if (info.HasSize())
        target = QSize(info.nWidth, info.nHeight).scaled(edge, edge, Qt::KeepAspectRatio);
    return Fitted(source.Image(target), edge);
}

QImage CThumbnailMaker::Fitted(const QImage& image, int edge) {
    if (image.isNull() || (image.width() <= edge && image.height() <= edge))
        return image;
    return image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

#include "picture/load/CEpsRenderer.h"

#include "picture/format/CEpsFile.h"
#include "picture/format/PictureFormat.h"
#include "picture/sandbox/CDecoderClient.h"
#include "picture/sandbox/DecodeLimits.h"

#include <QBuffer>
#include <QImageReader>
#include <QObject>

QImage CEpsRenderer::Render(const CEpsFile& eps, QSize target, const std::atomic<bool>* cancel,
                            QString& error) {
    limits::ApplyQtAllocationLimit();
    if (eps.BoundingBox().isEmpty()) {
        error = QObject::tr("The PostScript file gives no bounding box.");
        return {};
    }
    const CDecoderClient::SResult drawn =
        CDecoderClient::DecodeBytes(eps.PostScript().toByteArray(), picfmt::kEps, target, cancel);
    if (!drawn.image.isNull() || (cancel && cancel->load())) {
        error = drawn.strError;
        return drawn.image;
    }
    QImage preview = Preview(eps, cancel);
    error = preview.isNull() ? drawn.strError : QString();
    return preview;
}

QImage CEpsRenderer::Preview(const CEpsFile& eps, const std::atomic<bool>* cancel) {
    if (!eps.TiffPreview().isEmpty()) {
        QByteArray bytes = eps.TiffPreview().toByteArray();
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "tiff");
        const QSize size = reader.size();
        if (size.isValid() && limits::WithinLimits(size.width(), size.height()))
            return reader.read();
    }
    if (!eps.MetafilePreview().isEmpty())
        return CDecoderClient::DecodeBytes(eps.MetafilePreview().toByteArray(), picfmt::kWmf,
                                           QSize(), cancel)
            .image;
    return {};
}

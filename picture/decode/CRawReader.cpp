#include "picture/decode/CRawReader.h"

#include "picture/format/CExifThumbnail.h"
#include "picture/format/JpegStructure.h"
#include "picture/sandbox/DecodeLimits.h"

#include <QBuffer>
#include <QImageReader>
#include <QObject>

#include <libraw/libraw.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

// Below the helper's address space, so that LibRaw refuses before the process dies.
constexpr unsigned kRawMemoryMB = 768;

struct MemImageFree {
    void operator()(libraw_processed_image_t* p) const { LibRaw::dcraw_clear_mem(p); }
};

QString Reason(int code) {
    switch (code) {
    case LIBRAW_FILE_UNSUPPORTED:
        return QObject::tr("This camera RAW file is of a kind that cannot be read.");
    case LIBRAW_UNSUFFICIENT_MEMORY:
    case LIBRAW_TOO_BIG:
    case LIBRAW_MEMPOOL_OVERFLOW:
        return QObject::tr("The picture is too large to show.");
    default:
        return QObject::tr("The picture data is damaged (%1).")
            .arg(QString::fromUtf8(libraw_strerror(code)));
    }
}

QSize Upright(QSize size, int flip) {
    return (flip & 4) ? size.transposed() : size;
}

// The picture the sensor gives, upright, with non-square pixels made square as a full
// decode would.
QSize OwnSize(const libraw_image_sizes_t& sizes) {
    double w = sizes.width, h = sizes.height;
    if (sizes.pixel_aspect > 0.0 && sizes.pixel_aspect < 0.995)
        h = h / sizes.pixel_aspect;
    else if (sizes.pixel_aspect > 1.005)
        w = w * sizes.pixel_aspect;
    // A hostile aspect must not overflow: anything past the largest side is refused anyway.
    const auto side = [](double v) { return int(std::lround(std::clamp(v, 0.0, 1e6))); };
    return Upright(QSize(side(w), side(h)), sizes.flip);
}

QImage FromBitmap(const libraw_thumbnail_t& thumb, QSize own, QSize target, int flip) {
    const qint64 bytes = qint64(thumb.twidth) * thumb.theight * 3;
    if (thumb.tcolors != 3 || !thumb.thumb || bytes <= 0 || thumb.tlength < bytes ||
        !CRawReader::PreviewServes(Upright(QSize(thumb.twidth, thumb.theight), flip), own, target))
        return {};
    const QImage view(reinterpret_cast<const uchar*>(thumb.thumb), thumb.twidth, thumb.theight,
                      thumb.twidth * 3, QImage::Format_RGB888);
    return view.copy();
}

// The preview's JPEG, decoded straight at the size shown when that is smaller. Its size is
// the JPEG's own (some makers' files tell none). The file's flip turns it afterwards (the
// preview is stored the way the sensor was held), never an orientation inside the preview
// itself, so the preview and the sensor's data agree.
QImage FromJpeg(const libraw_thumbnail_t& thumb, QSize own, QSize target, int flip) {
    const QByteArray jpeg = QByteArray::fromRawData(thumb.thumb, qsizetype(thumb.tlength));
    if (!thumb.thumb || !JpegStructure::IsComplete(jpeg))
        return {};
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(false);
    const QSize stored = reader.size();
    if (!limits::WithinLimits(stored.width(), stored.height()) ||
        !CRawReader::PreviewServes(Upright(stored, flip), own, target))
        return {};
    if (target.isValid() && !target.isEmpty()) {
        const QSize wanted = Upright(target, flip);
        if (wanted.width() < stored.width() && wanted.height() < stored.height())
            reader.setScaledSize(
                stored.scaled(wanted, Qt::KeepAspectRatioByExpanding).boundedTo(stored));
    }
    return reader.read();
}

QImage DecodePreview(LibRaw& raw, QSize own, QSize target) {
    if (raw.unpack_thumb() != LIBRAW_SUCCESS)
        return {};
    const libraw_thumbnail_t& thumb = raw.imgdata.thumbnail;
    const int flip = raw.imgdata.sizes.flip;
    QImage image;
    if (thumb.tformat == LIBRAW_THUMBNAIL_JPEG)
        image = FromJpeg(thumb, own, target, flip);
    else if (thumb.tformat == LIBRAW_THUMBNAIL_BITMAP)
        image = FromBitmap(thumb, own, target, flip);
    if (image.isNull() || flip == 0)
        return image;
    return CExifThumbnail::Upright(image, CRawReader::ExifOrientation(flip));
}

QImage DecodeHalf(LibRaw& raw, QString& error) {
    raw.imgdata.params.half_size = 1;
    raw.imgdata.params.use_camera_wb = 1;
    raw.imgdata.params.output_bps = 8;
    int code = raw.unpack();
    if (code == LIBRAW_SUCCESS)
        code = raw.dcraw_process();
    std::unique_ptr<libraw_processed_image_t, MemImageFree> out;
    if (code == LIBRAW_SUCCESS)
        out.reset(raw.dcraw_make_mem_image(&code));
    if (code != LIBRAW_SUCCESS || !out) {
        error = Reason(code);
        return {};
    }
    const qint64 bytes = qint64(out->width) * out->height * 3;
    if (out->type != LIBRAW_IMAGE_BITMAP || out->colors != 3 || out->bits != 8 ||
        !limits::WithinLimits(out->width, out->height) || out->data_size < bytes) {
        error = QObject::tr("The picture data is damaged.");
        return {};
    }
    const QImage view(out->data, out->width, out->height, out->width * 3, QImage::Format_RGB888);
    QImage copy = view.copy(); // the library's buffer goes with `out`
    if (copy.isNull())
        error = QObject::tr("Out of memory.");
    return copy;
}

std::unique_ptr<LibRaw> NewLibRaw() {
    auto raw = std::make_unique<LibRaw>(); // far too large for the stack
    raw->imgdata.params.max_raw_memory_mb = kRawMemoryMB;
    return raw;
}

} // namespace

bool CRawReader::PreviewServes(QSize preview, QSize own, QSize target) {
    if (preview.isEmpty() || own.isEmpty())
        return false;
    const double shape = double(preview.width()) / preview.height();
    const double ownShape = double(own.width()) / own.height();
    if (std::abs(shape / ownShape - 1.0) > 0.03)
        return false;
    const QSize half(own.width() / 2, own.height() / 2);
    const bool coversTarget = target.isValid() && !target.isEmpty() &&
                              preview.width() >= target.width() &&
                              preview.height() >= target.height();
    return coversTarget || (preview.width() >= half.width() && preview.height() >= half.height());
}

int CRawReader::ExifOrientation(int flip) {
    static constexpr int kOrientation[8] = {1, 2, 4, 3, 5, 8, 6, 7};
    return kOrientation[flip & 7];
}

CRawReader::SResult CRawReader::Read(const QByteArray& data, QSize target) {
    auto raw = NewLibRaw();
    // The library reads the buffer only.
    const int code = raw->open_buffer(const_cast<char*>(data.constData()), size_t(data.size()));
    return Decode(*raw, code, target);
}

CRawReader::SResult CRawReader::Decode(LibRaw& raw, int openCode, QSize target) {
    limits::ApplyQtAllocationLimit();
    SResult result;
    if (openCode != LIBRAW_SUCCESS) {
        result.strError = Reason(openCode);
        return result;
    }
    const libraw_image_sizes_t& sizes = raw.imgdata.sizes;
    result.ownSize = OwnSize(sizes);
    if (result.ownSize.isEmpty()) {
        result.strError = QObject::tr("The picture data is damaged.");
        result.ownSize = QSize();
        return result;
    }
    if (result.ownSize.width() > limits::kMaxSide || result.ownSize.height() > limits::kMaxSide ||
        qint64(sizes.raw_width) * sizes.raw_height > 4 * limits::kMaxPixels) {
        result.strError = QObject::tr("The picture is too large to show (%1 x %2 pixels).")
                              .arg(result.ownSize.width())
                              .arg(result.ownSize.height());
        result.ownSize = QSize();
        return result;
    }
    result.image = DecodePreview(raw, result.ownSize, target);
    if (result.image.isNull())
        result.image = DecodeHalf(raw, result.strError);
    if (result.image.isNull())
        result.ownSize = QSize();
    return result;
}

#include "picture/decode/CHeifReader.h"

#include "picture/sandbox/DecodeLimits.h"

#include <QObject>
#include <libheif/heif.h>
#include <memory>

namespace {

struct ContextFree {
    void operator()(heif_context* p) const { heif_context_free(p); }
};
struct HandleFree {
    void operator()(heif_image_handle* p) const { heif_image_handle_release(p); }
};
struct ImageFree {
    void operator()(heif_image* p) const { heif_image_release(p); }
};

QString Damaged(const heif_error& err) {
    return QObject::tr("The picture data is damaged (%1).").arg(QString::fromUtf8(err.message));
}

} // namespace

QImage CHeifReader::Read(const QByteArray& data, int& bits, QString& error) {
    return ReadItem(data, false, bits, error);
}

QImage CHeifReader::ReadThumbnail(const QByteArray& data, int& bits, QString& error) {
    return ReadItem(data, true, bits, error);
}

QImage CHeifReader::ReadItem(const QByteArray& data, bool thumbnail, int& bits, QString& error) {
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context) {
        error = QObject::tr("Out of memory.");
        return {};
    }
    heif_context_set_maximum_image_size_limit(context.get(), limits::kMaxSide);
    heif_error err = heif_context_read_from_memory_without_copy(context.get(), data.constData(),
                                                                size_t(data.size()), nullptr);
    if (err.code != heif_error_Ok) {
        error = Damaged(err);
        return {};
    }
    heif_image_handle* rawHandle = nullptr;
    err = heif_context_get_primary_image_handle(context.get(), &rawHandle);
    std::unique_ptr<heif_image_handle, HandleFree> handle(rawHandle);
    if (err.code != heif_error_Ok) {
        error = Damaged(err);
        return {};
    }
    if (thumbnail) {
        heif_item_id id = 0;
        if (heif_image_handle_get_list_of_thumbnail_IDs(handle.get(), &id, 1) != 1) {
            error = QObject::tr("The file holds no preview.");
            return {};
        }
        heif_image_handle* rawThumb = nullptr;
        err = heif_image_handle_get_thumbnail(handle.get(), id, &rawThumb);
        handle.reset(rawThumb);
        if (err.code != heif_error_Ok) {
            error = Damaged(err);
            return {};
        }
    }
    const int width = heif_image_handle_get_width(handle.get());
    const int height = heif_image_handle_get_height(handle.get());
    if (!limits::WithinLimits(width, height)) {
        error = QObject::tr("The picture is too large to show (%1 x %2 pixels).")
                    .arg(width)
                    .arg(height);
        return {};
    }
    const bool alpha = heif_image_handle_has_alpha_channel(handle.get()) != 0;
    bits = alpha ? 32 : 24; // the depth handed back; deeper pictures are shown at 8 bits
    heif_image* rawImage = nullptr;
    err = heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                            alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                            nullptr); // the default options turn and mirror the picture
    std::unique_ptr<heif_image, ImageFree> image(rawImage);
    if (err.code != heif_error_Ok) {
        error = Damaged(err);
        return {};
    }
    int stride = 0;
    const uint8_t* plane =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int w = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int h = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (!plane || w <= 0 || h <= 0 || !limits::WithinLimits(w, h)) {
        error = QObject::tr("The picture data is damaged.");
        return {};
    }
    const QImage view(plane, w, h, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    QImage copy = view.copy(); // the plane goes with the decoded image
    if (copy.isNull())
        error = QObject::tr("Out of memory.");
    return copy;
}

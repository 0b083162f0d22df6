#include "picture/load/CJpegRegion.h"

#include "picture/sandbox/DecodeLimits.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>

namespace {

// Pixels decoded beyond a part on each side: the colour planes are upsampled from their
// neighbours, so the part's own edge comes out as in the whole picture; and the margin kept
// around the part of a view, for a small pan.
constexpr int kMargin = 32;

struct SErrorJump {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    bool bWarned; // the data is damaged (the library went on with made-up pixels)
};

struct SJpeg {
    jpeg_decompress_struct info;
    SErrorJump error;
};

[[noreturn]] void Leave(j_common_ptr info) {
    std::longjmp(reinterpret_cast<SErrorJump*>(info->err)->jump, 1);
}

void Note(j_common_ptr info, int level) {
    if (level < 0)
        reinterpret_cast<SErrorJump*>(info->err)->bWarned = true;
}

// The functions that call into the library keep only plain objects in their frames, so that a
// jump out of it on damaged data leaves nothing undone.

// Reads the header and starts decoding the columns [left, left + width) (grown to the
// library's blocks), at the part's first row.
bool Start(SJpeg& jpeg, const QByteArray& data, QRect part, JDIMENSION& left, JDIMENSION& width) {
    if (setjmp(jpeg.error.jump) != 0)
        return false;
    jpeg_create_decompress(&jpeg.info);
    jpeg_mem_src(&jpeg.info, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    if (jpeg_read_header(&jpeg.info, TRUE) != JPEG_HEADER_OK ||
        (jpeg.info.num_components != 1 && jpeg.info.num_components != 3) ||
        part.right() >= int(jpeg.info.image_width) || part.bottom() >= int(jpeg.info.image_height))
        return false;
    jpeg.info.out_color_space = JCS_EXT_BGRX; // the bytes of QImage::Format_RGB32
    jpeg_start_decompress(&jpeg.info);
    const int from = std::max(0, part.left() - kMargin);
    const int to = std::min(int(jpeg.info.output_width), part.right() + 1 + kMargin);
    left = JDIMENSION(from);
    width = JDIMENSION(to - from);
    jpeg_crop_scanline(&jpeg.info, &left, &width);
    return jpeg_skip_scanlines(&jpeg.info, JDIMENSION(part.top())) == JDIMENSION(part.top());
}

// The part's rows into `out`, each through `row` (the cropped width), `skip` bytes in.
bool Rows(SJpeg& jpeg, QImage& out, uchar* row, int skip) {
    if (setjmp(jpeg.error.jump) != 0)
        return false;
    const size_t bytes = size_t(out.width()) * 4;
    for (int y = 0; y < out.height(); ++y) {
        JSAMPROW line = row;
        if (jpeg_read_scanlines(&jpeg.info, &line, 1) != 1)
            return false;
        std::memcpy(out.scanLine(y), row + skip, bytes);
    }
    jpeg_abort_decompress(&jpeg.info); // the rows below are not wanted
    return true;
}

bool Decode(SJpeg& jpeg, const QByteArray& data, QRect part, QImage& out) {
    JDIMENSION left = 0, width = 0;
    if (!Start(jpeg, data, part, left, width))
        return false;
    QImage row(int(width), 1, QImage::Format_RGB32);
    return !row.isNull() && Rows(jpeg, out, row.bits(), (part.left() - int(left)) * 4);
}

bool Upright(const QByteArray& data) {
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(true);
    return reader.canRead() && reader.transformation() == QImageIOHandler::TransformationNone;
}

} // namespace

QImage CJpegRegion::Read(const QByteArray& data, QRect region) {
    if (region.isEmpty() || region.left() < 0 || region.top() < 0 ||
        !limits::WithinLimits(region.width(), region.height()) || !Upright(data))
        return {};
    QImage out(region.size(), QImage::Format_RGB32);
    if (out.isNull())
        return {};
    SJpeg jpeg{};
    jpeg.info.err = jpeg_std_error(&jpeg.error.mgr);
    jpeg.error.mgr.error_exit = Leave;
    jpeg.error.mgr.emit_message = Note;
    const bool ok = Decode(jpeg, data, region, out);
    jpeg_destroy_decompress(&jpeg.info);
    return ok && !jpeg.error.bWarned ? out : QImage();
}

QRect CJpegRegion::Worth(QRect visible, QSize own) {
    const QRect whole(QPoint(0, 0), own);
    const QRect part = visible.adjusted(-kMargin, -kMargin, kMargin, kMargin).intersected(whole);
    // Most of the picture: decoding the part first would only delay the whole.
    if (part.isEmpty() ||
        qint64(part.width()) * part.height() * 2 > qint64(own.width()) * own.height())
        return {};
    return part;
}

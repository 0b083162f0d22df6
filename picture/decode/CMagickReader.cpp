#include "picture/decode/CMagickReader.h"

#include "picture/format/PictureFormat.h"
#include "picture/sandbox/DecodeLimits.h"

#include <Magick++.h>

#include <QObject>
#include <mutex>

namespace {

// Bits per pixel of a decoded picture: palette pictures by their palette's size.
int DepthOf(const Magick::Image& image) {
    if (image.classType() == Magick::PseudoClass) {
        const size_t colours = image.colorMapSize();
        return colours <= 2 ? 1 : colours <= 16 ? 4 : 8;
    }
    return image.matte() ? 32 : 24;
}

// MacPaint files usually come without the 128-byte MacBinary header the coder expects.
QByteArray WithMacBinaryHeader(const QByteArray& data) {
    const bool wrapped = data.size() > 1 && data[0] == 0 && data[1] != 0;
    return wrapped ? data : QByteArray(128, '\0') + data;
}

} // namespace

QByteArray CMagickReader::CoderName(int format) {
    switch (format) {
    case picfmt::kPcx:
        return "PCX";
    case picfmt::kRas:
        return "SUN";
    case picfmt::kPsd:
        return "PSD";
    case picfmt::kWpg:
        return "WPG";
    case picfmt::kWmf:
        return "WMF";
    case picfmt::kMac:
        return "MAC";
    case picfmt::kTga:
        return "TGA";
    default:
        return {};
    }
}

void CMagickReader::Initialise() {
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        Magick::ResourceLimits::memory(limits::kMagickMemory);
        Magick::ResourceLimits::map(limits::kMagickMap);
        Magick::ResourceLimits::area(limits::kMagickArea);
        Magick::ResourceLimits::width(limits::kMagickSide);
        Magick::ResourceLimits::height(limits::kMagickSide);
        Magick::ResourceLimits::disk(0);
        Magick::ResourceLimits::listLength(16);
        Magick::ResourceLimits::thread(1);
    });
}

QString CMagickReader::ShortReason(const char* what) {
    // "program: improper image header `name' @ error/pcx.c/..." -> "improper image header"
    QString reason = QString::fromLocal8Bit(what);
    if (const qsizetype colon = reason.indexOf(QLatin1String(": ")); colon >= 0)
        reason.remove(0, colon + 2);
    for (const QLatin1String cut : {QLatin1String(" `"), QLatin1String(" @ "), QLatin1String(" (")})
        if (const qsizetype at = reason.indexOf(cut); at > 0)
            reason.truncate(at);
    return reason.trimmed();
}

QImage CMagickReader::Read(const QByteArray& data, int format, int& bitsPerPixel, QString& error) {
    const QByteArray coder = CoderName(format);
    if (coder.isEmpty()) {
        error = QObject::tr("This type of picture is not read here.");
        return {};
    }
    Initialise();
    try {
        const QByteArray bytes = format == picfmt::kMac ? WithMacBinaryHeader(data) : data;
        Magick::Blob blob(bytes.constData(), size_t(bytes.size()));
        Magick::Image image;
        image.quiet(true);
        image.subImage(0);
        image.subRange(1);
        image.magick(coder.toStdString());
        image.read(blob);
        if (QByteArray::fromStdString(image.magick()) != coder)
            throw std::runtime_error("unexpected picture type");
        const qint64 w = qint64(image.columns());
        const qint64 h = qint64(image.rows());
        if (!limits::WithinLimits(w, h))
            throw std::runtime_error("picture size out of range");
        if (image.colorSpace() != Magick::sRGBColorspace &&
            image.colorSpace() != Magick::RGBColorspace &&
            image.colorSpace() != Magick::GRAYColorspace)
            image.colorSpace(Magick::sRGBColorspace);
        bitsPerPixel = DepthOf(image);
        QImage out(int(w), int(h), image.matte() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        if (out.isNull())
            throw std::runtime_error("out of memory");
        image.write(0, 0, size_t(w), size_t(h), "BGRA", Magick::CharPixel, out.bits());
        return out;
    } catch (const std::exception& e) {
        error = QObject::tr("The picture data is damaged (%1).").arg(ShortReason(e.what()));
        return {};
    }
}

#include "picture/decode/CMetadataReader.h"

#include "picture/format/CExifDate.h"
#include "picture/format/PictureFormat.h"
#include "picture/sandbox/DecodeLimits.h"

#include <QObject>
#include <QtEndian>

#include <libheif/heif.h>

#include <cmath>

// Exiv2 0.27 hands images out in std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace {

using Exiv2::ExifData;

const Exiv2::Exifdatum* Find(const ExifData& exif, const char* key) {
    const auto it = exif.findKey(Exiv2::ExifKey(key));
    return it == exif.end() || it->count() == 0 ? nullptr : &*it;
}

QString TextOf(const Exiv2::Exifdatum* datum) {
    return datum ? QString::fromStdString(datum->toString()).trimmed() : QString();
}

double RationalOf(const Exiv2::Exifdatum* datum, long n = 0) {
    if (!datum || datum->count() <= n)
        return 0;
    const Exiv2::Rational r = datum->toRational(n);
    return r.second == 0 ? 0 : double(r.first) / r.second;
}

// A value taken from one of Exiv2's "easy access" finders (which know the makers' notes).
template <class Finder> const Exiv2::Exifdatum* Easy(const ExifData& exif, Finder finder) {
    const auto it = finder(exif);
    return it == exif.end() || it->count() == 0 ? nullptr : &*it;
}

// The same choice as the program's own reader of JPEG files makes (CExifDate::FromTiff).
QDateTime DateOf(const ExifData& exif) {
    const struct {
        const char *date, *offset;
    } kChoices[] = {{"Exif.Photo.DateTimeOriginal", "Exif.Photo.OffsetTimeOriginal"},
                    {"Exif.Photo.DateTimeDigitized", "Exif.Photo.OffsetTimeDigitized"},
                    {"Exif.Image.DateTime", "Exif.Photo.OffsetTime"}};
    for (const auto& choice : kChoices) {
        const QDateTime taken =
            CExifDate::Compose(TextOf(Find(exif, choice.date)), TextOf(Find(exif, choice.offset)));
        if (taken.isValid())
            return taken;
    }
    return {};
}

// Degrees from the three rationals of a GPS position and its reference letter.
bool Degrees(const ExifData& exif, const char* key, const char* refKey, char negative, double& to) {
    const Exiv2::Exifdatum* value = Find(exif, key);
    if (!value || value->count() != 3 || value->typeId() != Exiv2::unsignedRational)
        return false;
    to = RationalOf(value, 0) + RationalOf(value, 1) / 60 + RationalOf(value, 2) / 3600;
    if (TextOf(Find(exif, refKey)).startsWith(QLatin1Char(negative)))
        to = -to;
    return std::isfinite(to);
}

void ReadGps(const ExifData& exif, PictureMetadata& facts) {
    facts.hasGps = Degrees(exif, "Exif.GPSInfo.GPSLatitude", "Exif.GPSInfo.GPSLatitudeRef", 'S',
                           facts.latitude) &&
                   Degrees(exif, "Exif.GPSInfo.GPSLongitude", "Exif.GPSInfo.GPSLongitudeRef", 'W',
                           facts.longitude) &&
                   std::abs(facts.latitude) <= 90 && std::abs(facts.longitude) <= 180;
}

void ReadCamera(const ExifData& exif, PictureMetadata& facts) {
    facts.taken = DateOf(exif);
    facts.make = TextOf(Easy(exif, Exiv2::make));
    facts.model = TextOf(Easy(exif, Exiv2::model));
    if (const Exiv2::Exifdatum* lens = Easy(exif, Exiv2::lensName))
        facts.lens = QString::fromStdString(lens->print(&exif)).trimmed();
    facts.exposure = RationalOf(Easy(exif, Exiv2::exposureTime));
    facts.aperture = RationalOf(Easy(exif, Exiv2::fNumber));
    if (const Exiv2::Exifdatum* iso = Easy(exif, Exiv2::isoSpeed))
        facts.iso = int(std::clamp<long>(iso->toLong(), 0, 10000000));
    facts.focalLength = RationalOf(Easy(exif, Exiv2::focalLength));
    if (const Exiv2::Exifdatum* f35 = Find(exif, "Exif.Photo.FocalLengthIn35mmFilm"))
        facts.focal35 = int(std::clamp<long>(f35->toLong(), 0, 100000));
    if (const Exiv2::Exifdatum* flash = Find(exif, "Exif.Photo.Flash"))
        facts.flash = int(std::clamp<long>(flash->toLong(), -1, 0xFFFF));
    ReadGps(exif, facts);
}

// An unknown lens is written by some makers' notes as a number or "(0)".
void DropPlaceholders(PictureMetadata& facts) {
    bool number = false;
    facts.lens.toLongLong(&number);
    if (number || facts.lens.startsWith(QLatin1Char('(')) ||
        facts.lens.compare(QLatin1String("unknown"), Qt::CaseInsensitive) == 0)
        facts.lens.clear();
}

// A record larger than this is no camera's.
constexpr size_t kMaxHeifExif = 4 * 1024 * 1024;

// The Exif item of a HEIF file's primary picture, as TIFF bytes; empty when there is none.
// libheif, which reads the container for the pixels too, finds it.
QByteArray HeifExif(const QByteArray& data) {
    heif_context* context = heif_context_alloc();
    heif_context_set_maximum_image_size_limit(context, limits::kMaxSide);
    heif_image_handle* handle = nullptr;
    QByteArray exif;
    if (heif_context_read_from_memory_without_copy(context, data.constData(), size_t(data.size()),
                                                   nullptr)
                .code == heif_error_Ok &&
        heif_context_get_primary_image_handle(context, &handle).code == heif_error_Ok) {
        heif_item_id id = 0;
        const size_t size =
            heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) == 1
                ? heif_image_handle_get_metadata_size(handle, id)
                : 0;
        QByteArray block(qsizetype(size > 4 && size <= kMaxHeifExif ? size : 0), '\0');
        // The block starts with the offset of the TIFF header behind it.
        if (!block.isEmpty() &&
            heif_image_handle_get_metadata(handle, id, block.data()).code == heif_error_Ok) {
            const quint32 skip = qFromBigEndian<quint32>(block.constData());
            if (skip < size - 4)
                exif = block.mid(4 + qsizetype(skip));
        }
        heif_image_handle_release(handle);
    }
    heif_context_free(context);
    return exif;
}

// The record of a HEIF file, read from its Exif item.
void ReadHeif(const QByteArray& data, PictureMetadata& facts) {
    const QByteArray tiff = HeifExif(data);
    if (tiff.isEmpty())
        return;
    ExifData exif;
    Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte*>(tiff.constData()),
                              uint32_t(tiff.size()));
    ReadCamera(exif, facts);
}

} // namespace

PictureMetadata CMetadataReader::Read(const QByteArray& data, int format, QString& error) {
    PictureMetadata facts;
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::enableBMFF(true);
    try {
        if (format == picfmt::kHeic || format == picfmt::kAvif) {
            ReadHeif(data, facts);
            DropPlaceholders(facts);
            return facts;
        }
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte*>(data.constData()), long(data.size()));
        if (!image.get()) {
            error = QObject::tr("The file records no metadata that can be read.");
            return facts;
        }
        image->readMetadata();
        ReadCamera(image->exifData(), facts);
        DropPlaceholders(facts);
        if (image->pixelWidth() > 0 && image->pixelHeight() > 0)
            facts.pixels = QSize(image->pixelWidth(), image->pixelHeight());
    } catch (const std::exception& e) {
        facts = PictureMetadata();
        error = QObject::tr("The metadata cannot be read: %1")
                    .arg(QString::fromLocal8Bit(e.what()).left(200));
    } catch (...) {
        facts = PictureMetadata();
        error = QObject::tr("The metadata cannot be read.");
    }
    return facts;
}

#pragma GCC diagnostic pop

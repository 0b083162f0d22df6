#pragma once

// Pictures with a known camera record, written the way cameras write them: the record is
// built and encoded by Exiv2, the HEIC container by libheif, the DNG by make-dng.py. Tests
// that include this link Exiv2 and libheif themselves.

#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <QString>

#include <libheif/heif.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>

namespace metatest {

// The record every written picture carries.
inline Exiv2::ExifData KnownExif() {
    Exiv2::ExifData exif;
    exif["Exif.Image.Make"] = "Tessaro";
    exif["Exif.Image.Model"] = "Tessaro K7";
    exif["Exif.Photo.DateTimeOriginal"] = "2024:06:15 14:03:07";
    exif["Exif.Photo.ExposureTime"] = Exiv2::URational(1, 250);
    exif["Exif.Photo.FNumber"] = Exiv2::URational(28, 10);
    exif["Exif.Photo.ISOSpeedRatings"] = uint16_t(400);
    exif["Exif.Photo.FocalLength"] = Exiv2::URational(50, 1);
    exif["Exif.Photo.FocalLengthIn35mmFilm"] = uint16_t(75);
    exif["Exif.Photo.Flash"] = uint16_t(0x19); // fired, automatic
    exif["Exif.Photo.LensModel"] = "Vario 18-55 mm";
    // 48° 51' 29.6" N, 2° 17' 40.2" W
    Exiv2::URationalValue latitude;
    latitude.read("48/1 51/1 296/10");
    exif["Exif.GPSInfo.GPSLatitude"] = latitude;
    exif["Exif.GPSInfo.GPSLatitudeRef"] = "N";
    Exiv2::URationalValue longitude;
    longitude.read("2/1 17/1 402/10");
    exif["Exif.GPSInfo.GPSLongitude"] = longitude;
    exif["Exif.GPSInfo.GPSLongitudeRef"] = "W";
    return exif;
}

// Writes `exif` into the picture file at `path` (JPEG, TIFF, DNG); false when Exiv2 refuses.
inline bool AddExif(const QString& path, const Exiv2::ExifData& exif) {
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path.toStdString());
        image->readMetadata();
        Exiv2::ExifData merged = image->exifData();
        for (const Exiv2::Exifdatum& datum : exif)
            merged[datum.key()] = datum.value();
        image->setExifData(merged);
        image->writeMetadata();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

inline bool WriteJpeg(const QString& path, const Exiv2::ExifData& exif = KnownExif()) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image.save(path, "JPEG", 90) && AddExif(path, exif);
}

// A 64 x 48 HEIC whose Exif item holds `exif`.
inline bool WriteHeic(const QString& path, const Exiv2::ExifData& exif = KnownExif()) {
    Exiv2::Blob blob;
    Exiv2::ExifParser::encode(blob, Exiv2::littleEndian, exif);
    heif_image* image = nullptr;
    if (heif_image_create(64, 48, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image).code !=
        heif_error_Ok)
        return false;
    heif_image_add_plane(image, heif_channel_interleaved, 64, 48, 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < 48 && plane; ++y)
        std::fill(plane + y * stride, plane + y * stride + 64 * 3, uint8_t(120));
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image_handle* handle = nullptr;
    bool ok = plane &&
              heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder).code ==
                  heif_error_Ok;
    ok = ok &&
         heif_context_encode_image(context, image, encoder, nullptr, &handle).code == heif_error_Ok;
    ok =
        ok && heif_context_add_exif_metadata(context, handle, blob.data(), int(blob.size())).code ==
                  heif_error_Ok;
    ok = ok &&
         heif_context_write_to_file(context, path.toLocal8Bit().constData()).code == heif_error_Ok;
    if (handle)
        heif_image_handle_release(handle);
    if (encoder)
        heif_encoder_release(encoder);
    heif_context_free(context);
    heif_image_release(image);
    return ok;
}

// A small DNG (no preview) from the fixture script, with `exif` added.
inline bool WriteDng(const QString& path, const Exiv2::ExifData& exif = KnownExif()) {
    QProcess script;
    script.start(QStringLiteral("python3"),
                 {qEnvironmentVariable("VANTREL_TEST_SOURCE") + "/tests/picture/make-dng.py", path,
                  QStringLiteral("--size"), QStringLiteral("64x48")});
    return script.waitForFinished(60000) && script.exitCode() == 0 && AddExif(path, exif);
}

} // namespace metatest

#pragma GCC diagnostic pop

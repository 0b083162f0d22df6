#include "picture/load/CMetadataLines.h"

#include <QRegularExpression>

#include <cmath>

namespace {

// A number with at most `decimals` places, trailing zeros dropped, in the locale's digits.
QString Decimal(const QLocale& locale, double value, int decimals) {
    QString text = locale.toString(value, 'f', decimals);
    if (decimals > 0) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(locale.decimalPoint()))
            text.chop(locale.decimalPoint().size());
    }
    return text;
}

void Add(QList<CMetadataLines::SLine>& to, const QString& label, const QString& value) {
    if (!value.isEmpty())
        to.append({label, value});
}

} // namespace

QString CMetadataLines::DateTaken(const QDateTime& taken, const QLocale& locale) {
    if (!taken.isValid())
        return {};
    // The locale's date and its time with seconds (bursts differ in them), no time zone:
    // the camera's clock recorded none.
    QString time = locale.timeFormat(QLocale::LongFormat);
    time.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b\\s*")));
    return locale.toString(taken.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(taken.time(), time.trimmed());
}

QString CMetadataLines::Camera(const QString& make, const QString& model) {
    // Many makers repeat their name in the model ("Maker Maker X100").
    if (make.isEmpty() || model.startsWith(make, Qt::CaseInsensitive))
        return model.isEmpty() ? make : model;
    return model.isEmpty() ? make : make + QLatin1Char(' ') + model;
}

QString CMetadataLines::ExposureTime(double seconds, const QLocale& locale) {
    if (seconds <= 0)
        return {};
    if (seconds < 0.25) // the way cameras show it: 1/250 s
        return tr("1/%1 s").arg(locale.toString(qRound64(1.0 / seconds)));
    return tr("%1 s").arg(Decimal(locale, seconds, 1));
}

QString CMetadataLines::Aperture(double fNumber, const QLocale& locale) {
    return fNumber > 0 ? tr("f/%1").arg(Decimal(locale, fNumber, 1)) : QString();
}

QString CMetadataLines::FocalLength(double mm, int mm35, const QLocale& locale) {
    if (mm <= 0)
        return {};
    const QString focal = tr("%1 mm").arg(Decimal(locale, mm, 1));
    if (mm35 <= 0 || mm35 == qRound(mm))
        return focal;
    return tr("%1 (%2 mm on 35 mm film)").arg(focal, locale.toString(mm35));
}

// The EXIF flash word: bit 0 fired, bits 3-4 the mode, bit 5 no flash function, bit 6
// red-eye reduction.
QString CMetadataLines::Flash(int flash) {
    if (flash < 0)
        return {};
    if (flash & 0x20)
        return tr("No flash");
    QString text = (flash & 0x01) ? tr("Fired") : tr("Did not fire");
    if ((flash & 0x18) == 0x18)
        text = tr("%1, automatic").arg(text);
    if (flash & 0x40)
        text = tr("%1, red-eye reduction").arg(text);
    return text;
}

QString CMetadataLines::Dimensions(QSize pixels, const QLocale& locale) {
    if (pixels.isEmpty())
        return {};
    const double megapixels = double(pixels.width()) * pixels.height() / 1e6;
    return tr("%1 × %2 pixels (%3 megapixels)")
        .arg(locale.toString(pixels.width()), locale.toString(pixels.height()),
             locale.toString(megapixels, 'f', 1));
}

QString CMetadataLines::Position(double latitude, double longitude, const QLocale& locale) {
    const QString north = latitude >= 0 ? tr("N") : tr("S");
    const QString east = longitude >= 0 ? tr("E") : tr("W");
    return tr("%1° %2, %3° %4")
        .arg(locale.toString(std::abs(latitude), 'f', 5), north,
             locale.toString(std::abs(longitude), 'f', 5), east);
}

QList<CMetadataLines::SLine> CMetadataLines::Lines(const PictureMetadata& facts,
                                                   const QLocale& locale) {
    QList<SLine> lines;
    AddCamera(facts, locale, lines);
    AddFile(facts, locale, lines);
    return lines;
}

void CMetadataLines::AddCamera(const PictureMetadata& facts, const QLocale& locale,
                               QList<SLine>& to) {
    Add(to, tr("Taken"), DateTaken(facts.taken, locale));
    Add(to, tr("Camera"), Camera(facts.make, facts.model));
    Add(to, tr("Lens"), facts.lens);
    Add(to, tr("Exposure time"), ExposureTime(facts.exposure, locale));
    Add(to, tr("Aperture"), Aperture(facts.aperture, locale));
    Add(to, tr("ISO"), facts.iso > 0 ? locale.toString(facts.iso) : QString());
    Add(to, tr("Focal length"), FocalLength(facts.focalLength, facts.focal35, locale));
    Add(to, tr("Flash"), Flash(facts.flash));
}

void CMetadataLines::AddFile(const PictureMetadata& facts, const QLocale& locale,
                             QList<SLine>& to) {
    Add(to, tr("Dimensions"), Dimensions(facts.pixels, locale));
    if (facts.fileSize >= 1024)
        Add(to, tr("File size"),
            tr("%1 (%2 bytes)")
                .arg(locale.formattedDataSize(facts.fileSize), locale.toString(facts.fileSize)));
    else if (facts.fileSize >= 0)
        Add(to, tr("File size"), tr("%1 bytes").arg(facts.fileSize));
    Add(to, tr("Type"), facts.type);
    if (facts.hasGps)
        Add(to, tr("Position"), Position(facts.latitude, facts.longitude, locale));
    Add(to, tr("Companion files"), facts.companions.join(QLatin1Char('\n')));
}

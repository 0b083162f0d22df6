#include "picture/format/CExifDate.h"

#include "picture/format/CTiffDirectory.h"

namespace {

constexpr quint16 kDateTime = 0x0132;
constexpr quint16 kExifDirectory = 0x8769;
constexpr quint16 kDateTimeOriginal = 0x9003;
constexpr quint16 kDateTimeDigitized = 0x9004;
constexpr quint16 kOffsetTime = 0x9010;
constexpr quint16 kOffsetTimeOriginal = 0x9011;
constexpr quint16 kOffsetTimeDigitized = 0x9012;
constexpr int kMaxOffsetHours = 14;

bool TwoDigits(const QString& text, qsizetype at, int& value) {
    if (!text.at(at).isDigit() || !text.at(at + 1).isDigit())
        return false;
    value = text.at(at).digitValue() * 10 + text.at(at + 1).digitValue();
    return true;
}

} // namespace

bool CExifDate::OffsetSeconds(const QString& offset, int& seconds) {
    const QString text = offset.trimmed();
    int hours = 0;
    int minutes = 0;
    if (text.size() != 6 || (text[0] != QLatin1Char('+') && text[0] != QLatin1Char('-')) ||
        text[3] != QLatin1Char(':') || !TwoDigits(text, 1, hours) || !TwoDigits(text, 4, minutes) ||
        minutes > 59 || hours * 60 + minutes > kMaxOffsetHours * 60)
        return false;
    seconds = (text[0] == QLatin1Char('-') ? -1 : 1) * (hours * 3600 + minutes * 60);
    return true;
}

QDateTime CExifDate::Compose(const QString& date, const QString& offset) {
    const QDateTime clock =
        QDateTime::fromString(date.trimmed().left(19), QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    int seconds = 0;
    if (!clock.isValid() || !OffsetSeconds(offset, seconds))
        return clock;
    return QDateTime(clock.date(), clock.time(), Qt::OffsetFromUTC, seconds);
}

QDateTime CExifDate::FromTiff(QByteArrayView tiff) {
    const CTiffDirectory record(tiff);
    const quint32 ifd0 = record.First();
    quint32 exif = record.Pointer(ifd0, kExifDirectory);
    if (exif == ifd0)
        exif = 0; // a loop: the record has no directory of its own for the photograph

    const struct {
        quint32 ifd;
        quint16 date, offset;
    } kChoices[] = {{exif, kDateTimeOriginal, kOffsetTimeOriginal},
                    {exif, kDateTimeDigitized, kOffsetTimeDigitized},
                    {ifd0, kDateTime, kOffsetTime}};
    for (const auto& choice : kChoices) {
        const QDateTime taken = Compose(QString::fromUtf8(record.Ascii(choice.ifd, choice.date)),
                                        QString::fromUtf8(record.Ascii(exif, choice.offset)));
        if (taken.isValid())
            return taken;
    }
    return {};
}

#include "picture/sandbox/MetadataProtocol.h"

#include "picture/format/CExifDate.h"

#include <QList>
#include <QSet>

#include <cmath>

namespace metadata_protocol {
namespace {

constexpr const char* kDateFormat = "yyyy-MM-ddTHH:mm:ss";
constexpr int kMaxSize = 1 << 20; // a recorded side; the decoder's own limits apply later

QByteArray Number(double value) {
    return QByteArray::number(value, 'g', 10);
}

bool ReadDouble(const QByteArray& value, double low, double high, double& to) {
    bool ok = false;
    to = value.toDouble(&ok);
    return ok && std::isfinite(to) && to >= low && to <= high;
}

bool ReadInt(const QByteArray& value, int low, int high, int& to) {
    bool ok = false;
    to = value.toInt(&ok);
    return ok && to >= low && to <= high;
}

bool ReadText(const QByteArray& value, QString& to) {
    to = QString::fromUtf8(value);
    return !to.isEmpty() && to.size() <= kMaxText && to == CleanText(to) &&
           !to.contains(QChar::ReplacementCharacter);
}

bool ReadPair(const QByteArray& value, char separator, double low0, double high0, double low1,
              double high1, double& first, double& second) {
    const QList<QByteArray> parts = value.split(separator);
    return parts.size() == 2 && ReadDouble(parts[0], low0, high0, first) &&
           ReadDouble(parts[1], low1, high1, second);
}

bool ReadSize(const QByteArray& value, QSize& to) {
    double w = 0, h = 0;
    if (!ReadPair(value, 'x', 1, kMaxSize, 1, kMaxSize, w, h) || w != std::floor(w) ||
        h != std::floor(h))
        return false;
    to = QSize(int(w), int(h));
    return true;
}

// One "<key> <value>" line into `facts`; false for an unknown key or a bad value.
bool ReadFact(const QByteArray& key, const QByteArray& value, PictureMetadata& facts) {
    if (key == "taken")
        return ReadTaken(value, facts.taken);
    if (key == "make")
        return ReadText(value, facts.make);
    if (key == "model")
        return ReadText(value, facts.model);
    if (key == "lens")
        return ReadText(value, facts.lens);
    if (key == "exposure")
        return ReadDouble(value, 1e-7, 86400, facts.exposure);
    if (key == "aperture")
        return ReadDouble(value, 0.5, 1000, facts.aperture);
    if (key == "iso")
        return ReadInt(value, 1, 10000000, facts.iso);
    if (key == "focal")
        return ReadDouble(value, 0.1, 100000, facts.focalLength);
    if (key == "focal35")
        return ReadInt(value, 1, 100000, facts.focal35);
    if (key == "flash")
        return ReadInt(value, 0, 0xFFFF, facts.flash);
    if (key == "size")
        return ReadSize(value, facts.pixels);
    if (key == "gps")
        return facts.hasGps =
                   ReadPair(value, ' ', -90, 90, -180, 180, facts.latitude, facts.longitude);
    return false;
}

// One line, unless the reading side would refuse its value (a record's nonsense, such as an
// aperture of f/0.01, is left out rather than making the whole answer unusable).
void Line(QByteArray& out, const char* key, const QByteArray& value) {
    PictureMetadata scratch;
    if (!ReadFact(key, value, scratch))
        return;
    out += key;
    out += ' ';
    out += value;
    out += '\n';
}

void Text(QByteArray& out, const char* key, const QString& text) {
    const QString clean = CleanText(text);
    if (!clean.isEmpty())
        Line(out, key, clean.toUtf8());
}

} // namespace

QByteArray TakenText(const QDateTime& taken) {
    QByteArray text = taken.toString(QLatin1String(kDateFormat)).toLatin1();
    if (taken.timeSpec() == Qt::LocalTime)
        return text;
    const int offset = taken.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return text + (offset < 0 ? '-' : '+') +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'))
               .toLatin1();
}

bool ReadTaken(QByteArrayView text, QDateTime& taken) {
    constexpr qsizetype kClock = 19; // "yyyy-MM-ddTHH:mm:ss"
    constexpr qsizetype kOffset = 6; // "+HH:MM"
    taken = QDateTime();
    if (text.size() != kClock && text.size() != kClock + kOffset)
        return false;
    const QDateTime clock =
        QDateTime::fromString(QString::fromLatin1(text.first(kClock)), QLatin1String(kDateFormat));
    if (!clock.isValid() || clock.date().year() < 1800 || clock.date().year() > 9999)
        return false;
    int seconds = 0;
    if (text.size() == kClock)
        taken = clock;
    else if (CExifDate::OffsetSeconds(QString::fromLatin1(text.sliced(kClock)), seconds))
        taken = QDateTime(clock.date(), clock.time(), Qt::OffsetFromUTC, seconds);
    return taken.isValid();
}

QString CleanText(const QString& text) {
    QString clean;
    for (const QChar c : text) {
        if (clean.size() >= kMaxText)
            break;
        if (c.isPrint() || c == QLatin1Char(' '))
            clean += c;
    }
    // No surrogate left alone at the cut.
    if (!clean.isEmpty() && clean.back().isHighSurrogate())
        clean.chop(1);
    return clean.trimmed();
}

QByteArray Format(const PictureMetadata& facts) {
    QByteArray out("META\n");
    if (facts.taken.isValid())
        Line(out, "taken", TakenText(facts.taken));
    Text(out, "make", facts.make);
    Text(out, "model", facts.model);
    Text(out, "lens", facts.lens);
    if (facts.exposure > 0)
        Line(out, "exposure", Number(facts.exposure));
    if (facts.aperture > 0)
        Line(out, "aperture", Number(facts.aperture));
    if (facts.iso > 0)
        Line(out, "iso", QByteArray::number(facts.iso));
    if (facts.focalLength > 0)
        Line(out, "focal", Number(facts.focalLength));
    if (facts.focal35 > 0)
        Line(out, "focal35", QByteArray::number(facts.focal35));
    if (facts.flash >= 0)
        Line(out, "flash", QByteArray::number(facts.flash));
    if (!facts.pixels.isEmpty())
        Line(out, "size",
             QByteArray::number(facts.pixels.width()) + 'x' +
                 QByteArray::number(facts.pixels.height()));
    if (facts.hasGps)
        Line(out, "gps", Number(facts.latitude) + ' ' + Number(facts.longitude));
    return out + "END\n";
}

bool Parse(QByteArrayView answer, PictureMetadata& facts, QString& error) {
    facts = PictureMetadata();
    error.clear();
    if (answer.size() > kMaxAnswerBytes || !answer.endsWith('\n'))
        return false;
    if (answer.startsWith("ERR ")) {
        error = QString::fromUtf8(answer.sliced(4).chopped(1)).trimmed();
        return !error.isEmpty() && !error.contains(QLatin1Char('\n'));
    }
    QList<QByteArray> lines = answer.chopped(1).toByteArray().split('\n');
    if (lines.size() < 2 || lines.front() != "META" || lines.back() != "END")
        return false;
    QSet<QByteArray> seen;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        const qsizetype space = lines[i].indexOf(' ');
        const QByteArray key = lines[i].left(space);
        if (space <= 0 || seen.contains(key) || !ReadFact(key, lines[i].mid(space + 1), facts)) {
            facts = PictureMetadata();
            return false;
        }
        seen.insert(key);
    }
    return true;
}

} // namespace metadata_protocol

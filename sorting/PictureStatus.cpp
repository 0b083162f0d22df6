#include "sorting/PictureStatus.h"

#include "resources/StringTable.h"

namespace picture_status {

QString StatusText(const QString& path, long width, long height, int bitsPerPixel, qint64 fileSize,
                   const QString& description) {
    // One pass over the pattern: a path holding "%2" must stay as it is.
    return QStringLiteral("%1 - %2x%3x%4 bpp,  %5 bytes,  %6")
        .arg(path.toUpper(), QString::number(width), QString::number(height),
             QString::number(bitsPerPixel), QString::number(fileSize), description);
}

QString FailedText(const QString& path, const QString& reason, qint64 fileSize,
                   const QString& description) {
    return QStringLiteral("%1 - %2,  %3 bytes,  %4")
        .arg(path.toUpper(), reason, QString::number(fileSize), description);
}

QString TitleFileName(const QString& path) {
    qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    cut = std::max(cut, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return QLatin1Char(' ') + (cut < 0 ? QString() : path.mid(cut + 1));
}

QString FileCountText(int count) {
    return QStringLiteral("%1 files").arg(count);
}

QString IdleText() {
    return strings::Load(strings::IDS_IDLE_MESSAGE);
}

QString IdleTitle() {
    return QStringLiteral(" Ostlewin");
}

} // namespace picture_status

#include "sorting/session/PictureStatus.h"

#include "platform/system/LocaleFormat.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <algorithm>

namespace picture_status {

QString StatusText(const QString& path, long width, long height, int bitsPerPixel, qint64 fileSize,
                   const QString& description) {
    // A picture whose size or depth only its pixels tell shows what is known so far; its
    // figures follow once they are decoded.
    QString figures;
    if (width > 0 && height > 0)
        figures = bitsPerPixel > 0
                      ? QStringLiteral("%1x%2x%3 bpp,  ")
                            .arg(locale_format::Dimension(width), locale_format::Dimension(height),
                                 locale_format::Dimension(bitsPerPixel))
                      : QStringLiteral("%1x%2,  ")
                            .arg(locale_format::Dimension(width), locale_format::Dimension(height));
    // One pass over the pattern: a path holding "%2" must stay as it is.
    return QCoreApplication::translate("PictureStatus", "%1 - %2%3 bytes,  %4")
        .arg(path, figures, locale_format::Number(fileSize), description);
}

QString FailedText(const QString& path, const QString& reason, qint64 fileSize,
                   const QString& description) {
    QString why = reason.trimmed();
    if (why.endsWith(QLatin1Char('.')))
        why.chop(1);
    QString text = QCoreApplication::translate("PictureStatus", "%1 - %2,  %3 bytes")
                       .arg(path, why, locale_format::Number(fileSize));
    if (!description.isEmpty())
        text += QStringLiteral(",  ") + description;
    return text;
}

QString FitToWidth(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width)
        return text;
    // The figures follow the last " - ": a path may hold the separator, the figures do not.
    const qsizetype cut = text.lastIndexOf(QLatin1String(" - "));
    const QString head = cut > 0 ? text.left(cut) : QString();
    qsizetype slash = head.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    slash = std::max(slash, head.lastIndexOf(QLatin1Char('\\')));
#endif
    if (slash < 0)
        return metrics.elidedText(text, Qt::ElideRight, width);
    const QString tail = text.mid(cut);
    const int room = width - metrics.horizontalAdvance(tail);
    // The folders give way first, the file name only when it alone is too long.
    const QString name = head.mid(slash);
    const int forFolders = room - metrics.horizontalAdvance(name);
    if (forFolders >= metrics.horizontalAdvance(QStringLiteral("/…")))
        return metrics.elidedText(head.left(slash), Qt::ElideMiddle, forFolders) + name + tail;
    if (room >= metrics.horizontalAdvance(QStringLiteral("/…/")))
        return metrics.elidedText(head, Qt::ElideMiddle, room) + tail;
    return metrics.elidedText(text, Qt::ElideRight, width);
}

QString TitleFileName(const QString& path) {
    qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    cut = std::max(cut, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return QLatin1Char(' ') + (cut < 0 ? QString() : path.mid(cut + 1));
}

QString FileCountText(int count) {
    locale_format::Current(); // %Ln writes the count in the default locale
    return QCoreApplication::translate("PictureStatus", "%Ln files", nullptr, count);
}

QString SelectedPicturesText(int count) {
    if (count < 2)
        return {};
    locale_format::Current();
    return QCoreApplication::translate("PictureStatus", "%Ln pictures selected", nullptr, count);
}

QString CopyProgressText(const QString& what, qint64 done, qint64 total) {
    const int percent = total > 0 ? int(std::clamp<qint64>(done * 100 / total, 0, 100)) : 0;
    return QCoreApplication::translate("PictureStatus", "%1: %2% done").arg(what).arg(percent);
}

QString FinishingText(int pending) {
    locale_format::Current();
    return QCoreApplication::translate("PictureStatus", "Finishing %Ln sort actions...", nullptr,
                                       pending);
}

QString PictureText(const QString& path, const PictureFacts& facts) {
    if (path.isEmpty())
        return IdleText();
    if (!facts.bShown && facts.error.isEmpty())
        return path;
    if (!facts.bShown)
        return FailedText(path, facts.error, facts.fileSize, facts.description);
    return StatusText(path, facts.width, facts.height, facts.bitsPerPixel, facts.fileSize,
                      facts.description);
}

QString IdleText() {
    return strings::Load(strings::IDS_IDLE_MESSAGE);
}

QString IdleTitle() {
    return QStringLiteral(" Ostlewin");
}

} // namespace picture_status

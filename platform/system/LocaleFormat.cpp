#include "platform/system/LocaleFormat.h"

#include <QDateTime>
#include <atomic>
#include <cstdlib>

namespace locale_format {

namespace {

std::atomic<bool>& Chosen() {
    static std::atomic<bool> chosen{false};
    return chosen;
}

QByteArray Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? QByteArray(value) : QByteArray();
}

// "C", "POSIX", "C.UTF-8", "POSIX.utf8@euro": the name before its codeset and modifier.
bool IsCName(const QByteArray& name) {
    qsizetype end = name.size();
    for (const char stop : {'.', '@'})
        if (const qsizetype at = name.indexOf(stop); at >= 0 && at < end)
            end = at;
    const QByteArray base = name.left(end);
    return base.isEmpty() || base == "C" || base == "POSIX";
}

// Inserts seconds into a time format that has minutes but no seconds ("HH:mm" becomes
// "HH:mm:ss"), so that actions a few seconds apart can be told apart.
QString WithSeconds(QString format) {
    if (format.contains(QLatin1Char('s')))
        return format;
    const qsizetype minutes = format.indexOf(QLatin1String("mm"));
    if (minutes >= 0)
        format.insert(minutes + 2, QLatin1String(":ss"));
    return format;
}

} // namespace

bool IsPlainC(const QByteArray& lcAll, const QByteArray& lcCategory, const QByteArray& lang) {
    if (!lcAll.isEmpty())
        return IsCName(lcAll);
    if (!lcCategory.isEmpty())
        return IsCName(lcCategory);
    return IsCName(lang);
}

QLocale FromEnvironment() {
    const QByteArray all = Env("LC_ALL");
    const QByteArray lang = Env("LANG");
    if (IsPlainC(all, Env("LC_NUMERIC"), lang) && IsPlainC(all, Env("LC_TIME"), lang))
        return QLocale::c();
    return QLocale::system();
}

void SetDefault(const QLocale& locale) {
    QLocale::setDefault(locale);
    Chosen() = true;
}

QLocale Current() {
    if (!Chosen().exchange(true))
        QLocale::setDefault(FromEnvironment());
    return QLocale();
}

QString Number(qint64 n) {
    return Current().toString(n);
}

QString Dimension(qint64 n) {
    QLocale locale = Current();
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(n);
}

QString DateTime(const QDateTime& when) {
    const QLocale locale = Current();
    if (locale.language() == QLocale::C)
        return when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    return locale.toString(when, locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ') +
                                     WithSeconds(locale.timeFormat(QLocale::ShortFormat)));
}

} // namespace locale_format

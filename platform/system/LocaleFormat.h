#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

class QDateTime;

// Numbers, sizes and times as the user's locale writes them. Under the plain C (or POSIX)
// locale, which is what a session without any locale set runs in, the program writes them
// as it always has: digits without grouping and times as "2024-05-01 13:45:07".
namespace locale_format {

// Whether the locale that applies is the plain C locale ("C", "POSIX", with or without a
// codeset such as ".UTF-8"; unset counts as C): LC_ALL when set, else the category's own
// variable (LC_NUMERIC, LC_TIME) when set, else LANG.
bool IsPlainC(const QByteArray& lcAll, const QByteArray& lcCategory, const QByteArray& lang);

// The locale for numbers and times from this process's environment: QLocale::c() when
// both numbers and times follow the plain C locale, otherwise the system's locale.
QLocale FromEnvironment();

// Makes `locale` the default QLocale that every text below formats with.
void SetDefault(const QLocale& locale);

// The default QLocale, chosen from the environment on first use unless SetDefault came
// first.
QLocale Current();

// 16384 as "16384" in C, "16,384" in English, "16.384" in German.
QString Number(qint64 n);

// A picture's width, height or depth: the locale's digits without grouping.
QString Dimension(qint64 n);

// A point in time with its seconds, in local time: "2024-05-01 13:45:07" in C, the
// locale's short date and time otherwise.
QString DateTime(const QDateTime& when);

} // namespace locale_format

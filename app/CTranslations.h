#pragma once

#include <QLocale>

// The program's texts in the user's language: its own translation (compiled into the
// program) and the toolkit's own (qtbase, for the standard dialogs and buttons).
class CTranslations {
public:
    // Installs the translations for `locale` on the running application, in place of any
    // installed before, and makes it the locale numbers and times are written in. True when
    // the program has its own translation for that language; for English, or a language it
    // has none for, the texts stay English.
    static bool Install(const QLocale& locale);

    // The user's own: the texts in the language of the system's locale, numbers and times as
    // the environment's locale writes them (as plain as ever under the C locale).
    static bool Install();
};

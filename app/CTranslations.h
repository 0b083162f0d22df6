#pragma once

#include <QLocale>

// The program's texts in the user's language: its own translation (compiled into the
// program) and the toolkit's own (qtbase, for the standard dialogs and buttons).
class CTranslations {
public:
    // Installs the translations for `locale` on the running application, in place of any
    // installed before. True when the program has its own translation for that language;
    // for English, or a language it has none for, the texts stay English.
    static bool Install(const QLocale& locale = QLocale());
};

#include "app/CTranslations.h"

#include "platform/system/LocaleFormat.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace {

std::unique_ptr<QTranslator>& Own() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

std::unique_ptr<QTranslator>& Toolkit() {
    static std::unique_ptr<QTranslator> translator;
    return translator;
}

// Loads `name`_<language>.qm from `folder` for the locale's languages in their order of
// preference and installs it; a translation not found leaves `slot` empty.
bool InstallOne(std::unique_ptr<QTranslator>& slot, const QLocale& locale, const QString& name,
                const QString& folder) {
    if (slot)
        QCoreApplication::removeTranslator(slot.get());
    slot = std::make_unique<QTranslator>();
    if (!slot->load(locale, name, QStringLiteral("_"), folder)) {
        slot.reset();
        return false;
    }
    QCoreApplication::installTranslator(slot.get());
    return true;
}

} // namespace

bool CTranslations::Install(const QLocale& locale) {
    locale_format::SetDefault(locale);
    InstallOne(Toolkit(), locale, QStringLiteral("qtbase"),
               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return InstallOne(Own(), locale, QStringLiteral("vantrel"), QStringLiteral(":/i18n"));
}

bool CTranslations::Install() {
    const bool bOwn = Install(QLocale::system());
    locale_format::SetDefault(locale_format::FromEnvironment());
    return bOwn;
}

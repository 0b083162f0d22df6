#include "app/CCommandLine.h"

CCommandLine CCommandLine::Parse(const QStringList& args) {
    CCommandLine result;
    for (const QString& arg : args) {
        const bool isSwitch = arg.startsWith(QLatin1Char('-')) || arg.startsWith(QLatin1Char('/'));
        const QString name = isSwitch ? arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1) : QString();
        if (isSwitch && (name.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0 ||
                         name.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0 ||
                         name == QLatin1String("no-splash"))) {
            result.m_bShowSplash = false;
        } else if (!isSwitch && result.m_strPath.isEmpty()) {
            result.m_strPath = arg;
        }
    }
    return result;
}

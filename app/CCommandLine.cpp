#include "app/CCommandLine.h"

namespace {

// "-Embedding", "/Automation", "--no-splash" and the like: the switches that start the
// program without its splash picture.
bool IsNoSplashSwitch(const QString& arg) {
    QString name = arg;
    if (name.startsWith(QLatin1String("--")))
        name = name.mid(2);
    else if (name.startsWith(QLatin1Char('-')) || name.startsWith(QLatin1Char('/')))
        name = name.mid(1);
    else
        return false;
    return name.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0 ||
           name == QLatin1String("no-splash");
}

} // namespace

CCommandLine CCommandLine::Parse(const QStringList& args) {
    CCommandLine result;
    for (const QString& arg : args) {
        if (IsNoSplashSwitch(arg))
            result.m_bShowSplash = false;
        else if (!arg.startsWith(QLatin1Char('-')) && result.m_strPath.isEmpty())
            result.m_strPath = arg;
    }
    return result;
}

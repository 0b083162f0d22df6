#include "app/CCommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

// "-Embedding", "/Automation" and the like: the switches the program was started with by
// other programs, which only mean "no splash picture".
bool IsLegacySwitch(const QString& arg) {
    QString name = arg;
    if (name.startsWith(QLatin1String("--")))
        name = name.mid(2);
    else if (name.startsWith(QLatin1Char('-')) || name.startsWith(QLatin1Char('/')))
        name = name.mid(1);
    else
        return false;
    return name.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0;
}

// The toolkit's own options (-style fusion, -platform xcb, ...): taken from the command
// line by the application object later, so they are accepted here without being shown.
void AddToolkitOptions(QCommandLineParser& parser) {
    static const char* const kWithValue[] = {
        "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
        "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
        "style",       "stylesheet",         "name",          "title",   "qmljsdebugger"};
    static const char* const kFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char* name : kWithValue) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

} // namespace

CCommandLine CCommandLine::Parse(const QStringList& args) {
    CCommandLine result;
    QStringList rest{QCoreApplication::applicationFilePath().section(QLatin1Char('/'), -1)};
    for (const QString& arg : args) {
        if (IsLegacySwitch(arg))
            result.m_bShowSplash = false;
        else
            rest << arg;
    }

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QCoreApplication::translate(
        "CCommandLine", "Sorts a folder of pictures into named folders with one click each."));
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help")},
        QCoreApplication::translate("CCommandLine", "Show this help and exit."));
    parser.addOption(help);
    const QCommandLineOption version(
        {QStringLiteral("v"), QStringLiteral("version")},
        QCoreApplication::translate("CCommandLine", "Show the version and exit."));
    parser.addOption(version);
    const QCommandLineOption noSplash(
        QStringLiteral("no-splash"),
        QCoreApplication::translate("CCommandLine", "Start without the splash picture."));
    parser.addOption(noSplash);
    AddToolkitOptions(parser);
    parser.addPositionalArgument(
        QStringLiteral("path"),
        QCoreApplication::translate("CCommandLine",
                                    "A folder to open, or a picture to show, instead of the "
                                    "home folder."),
        QStringLiteral("[path]"));

    if (!parser.parse(rest)) {
        result.m_action = EAction::Error;
        result.m_strMessage =
            parser.errorText() + QLatin1Char('\n') +
            QCoreApplication::translate("CCommandLine", "Try '%1 --help' for more information.")
                .arg(rest.first()) +
            QLatin1Char('\n');
    } else if (parser.isSet(help)) {
        result.m_action = EAction::Help;
        result.m_strMessage = parser.helpText();
    } else if (parser.isSet(version)) {
        result.m_action = EAction::Version;
        result.m_strMessage = QCoreApplication::applicationName() + QLatin1Char(' ') +
                              QCoreApplication::applicationVersion() + QLatin1Char('\n');
    } else {
        if (parser.isSet(noSplash))
            result.m_bShowSplash = false;
        if (!parser.positionalArguments().isEmpty())
            result.m_strPath = parser.positionalArguments().first();
    }
    return result;
}

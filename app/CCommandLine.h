#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: run (with or without the splash picture, in a folder or
// at a picture), or only answer --help or --version, or refuse an option it does not know.
struct CCommandLine {
    enum class EAction { Run, Help, Version, Error };

    EAction m_action = EAction::Run;
    bool m_bShowSplash = true;
    QString m_strPath;
    // The help or version text (for standard output) or the complaint (for standard error).
    QString m_strMessage;

    // args without the program name. "-Embedding", "-Automation" (dash, double dash or
    // slash, any case) and "--no-splash" suppress the splash; the first other argument is
    // the path. Needs a QCoreApplication (the help names the program) but no display.
    static CCommandLine Parse(const QStringList& args);

    // The exit status when the program stops at once: 0 for help and version, 2 for a
    // bad command line.
    int ExitCode() const { return m_action == EAction::Error ? 2 : 0; }
};

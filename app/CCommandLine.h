#pragma once

#include <QString>
#include <QStringList>

// What the command line asks for: whether the splash may show, and a folder or picture
// to open instead of the home directory.
struct CCommandLine {
    bool m_bShowSplash = true;
    QString m_strPath;

    // args without the program name. "-Embedding", "-Automation" (either dash, any case)
    // and "--no-splash" suppress the splash; the first other argument is the path.
    static CCommandLine Parse(const QStringList& args);
};

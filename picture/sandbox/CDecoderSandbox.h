#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// How the decoder helper is started: inside bubblewrap where it can run (no network, a
// read-only view of the system's programs and libraries, a private empty temporary folder,
// no file of the user's, a new session), else directly with a private empty temporary
// folder; said once in the log. Either way the helper shuts itself in before it decodes
// (CHelperConfinement). The limits on the process are set by its caller.
class CDecoderSandbox {
public:
    enum class EMode { Automatic, Bubblewrap, Plain };

    struct SLaunch {
        QString strProgram;
        QStringList arguments;
        QProcessEnvironment environment;
        QString strWorkingDirectory;
    };

    // Starts `helper` with `helperArgs`, in bubblewrap when `sandboxed` (UsesBubblewrap), else
    // with `privateTemp`, an empty folder of the caller's, as its temporary folder.
    static SLaunch Launch(const QString& helper, const QStringList& helperArgs, bool sandboxed,
                          const QString& privateTemp);
    // True when the next launch goes through bubblewrap.
    static bool UsesBubblewrap();
    // Tests choose; Automatic probes bubblewrap once.
    static void SetMode(EMode mode);

    // The bubblewrap arguments that precede the helper's command line.
    static QStringList BubblewrapArguments(const QString& helper);

private:
    static bool ProbeBubblewrap();
    static QProcessEnvironment Environment(const QString& temp);
};

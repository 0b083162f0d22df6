#include "picture/sandbox/CDecoderSandbox.h"

#include <QDebug>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <atomic>
#include <mutex>

namespace {

std::atomic<CDecoderSandbox::EMode> s_mode{CDecoderSandbox::EMode::Automatic};
// Space for the helper's and Ghostscript's temporary files inside the sandbox.
constexpr qint64 kSandboxTempBytes = 64LL * 1024 * 1024;

QString Bubblewrap() {
    return QStandardPaths::findExecutable(QStringLiteral("bwrap"));
}

// The system folders the decoders need to read: programs, libraries, fonts, their settings.
void AddSystem(QStringList& args) {
    args << QStringLiteral("--ro-bind") << QStringLiteral("/usr") << QStringLiteral("/usr");
    for (const char* top : {"/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32"}) {
        const QFileInfo info(QString::fromLatin1(top));
        if (info.isSymLink())
            args << QStringLiteral("--symlink") << info.symLinkTarget() << info.filePath();
        else if (info.isDir())
            args << QStringLiteral("--ro-bind") << info.filePath() << info.filePath();
    }
    for (const char* path :
         {"/etc/ld.so.cache", "/etc/fonts", "/etc/ImageMagick-6", "/etc/ghostscript",
          "/etc/alternatives", "/var/lib/ghostscript", "/var/cache/fontconfig"})
        args << QStringLiteral("--ro-bind-try") << QString::fromLatin1(path)
             << QString::fromLatin1(path);
}

} // namespace

void CDecoderSandbox::SetMode(EMode mode) {
    s_mode = mode;
}

QStringList CDecoderSandbox::BubblewrapArguments(const QString& helper) {
    QStringList args{QStringLiteral("--unshare-all"), QStringLiteral("--die-with-parent"),
                     QStringLiteral("--new-session"), QStringLiteral("--cap-drop"),
                     QStringLiteral("ALL")};
    AddSystem(args);
    args << QStringLiteral("--proc") << QStringLiteral("/proc") << QStringLiteral("--dev")
         << QStringLiteral("/dev") << QStringLiteral("--size") << QString::number(kSandboxTempBytes)
         << QStringLiteral("--tmpfs") << QStringLiteral("/tmp") << QStringLiteral("--chdir")
         << QStringLiteral("/tmp");
    const QString real = QFileInfo(helper).canonicalFilePath();
    if (!real.isEmpty() && !real.startsWith(QLatin1String("/usr/")))
        args << QStringLiteral("--ro-bind") << real << real;
    return args;
}

bool CDecoderSandbox::ProbeBubblewrap() {
    const QString bwrap = Bubblewrap();
    if (bwrap.isEmpty()) {
        qWarning().noquote() << "Pictures decoded by the helper are decoded without bubblewrap "
                                "(bwrap is not installed). The helper keeps its system-call "
                                "filter, Landlock where the kernel has it, its limits and a "
                                "private temporary folder.";
        return false;
    }
    const QString truePath = QStandardPaths::findExecutable(QStringLiteral("true"));
    QProcess probe;
    probe.setProcessEnvironment(Environment(QStringLiteral("/tmp")));
    probe.setStandardInputFile(QProcess::nullDevice());
    probe.start(bwrap, BubblewrapArguments(truePath) << QStringLiteral("--") << truePath);
    const bool ran = probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
                     probe.exitCode() == 0;
    if (!ran) {
        probe.kill();
        probe.waitForFinished(1000);
        const QString why =
            QString::fromLocal8Bit(probe.readAllStandardError()).trimmed().left(300);
        qWarning().noquote() << QStringLiteral(
                                    "Pictures decoded by the helper are decoded without "
                                    "bubblewrap, which cannot run here (%1). The helper keeps "
                                    "its system-call filter, Landlock where the kernel has it, "
                                    "its limits and a private temporary folder.")
                                    .arg(why);
    }
    return ran;
}

bool CDecoderSandbox::UsesBubblewrap() {
    switch (s_mode.load()) {
    case EMode::Bubblewrap:
        return true;
    case EMode::Plain:
        return false;
    case EMode::Automatic:
        break;
    }
    static std::once_flag once;
    static bool works = false;
    std::call_once(once, [] { works = ProbeBubblewrap(); });
    return works;
}

QProcessEnvironment CDecoderSandbox::Environment(const QString& temp) {
    // Nothing of the program's own environment reaches the decoders but the sanitizers'
    // options of a test build.
    const QProcessEnvironment own = QProcessEnvironment::systemEnvironment();
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const char* name : {"TMPDIR", "TMP", "TEMP", "HOME"})
        env.insert(QString::fromLatin1(name), temp);
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
        if (own.contains(QString::fromLatin1(name)))
            env.insert(QString::fromLatin1(name), own.value(QString::fromLatin1(name)));
    return env;
}

CDecoderSandbox::SLaunch CDecoderSandbox::Launch(const QString& helper,
                                                 const QStringList& helperArgs, bool sandboxed,
                                                 const QString& privateTemp) {
    SLaunch launch;
    if (sandboxed) {
        launch.strProgram = Bubblewrap();
        launch.arguments = BubblewrapArguments(helper) << QStringLiteral("--") << helper;
        launch.arguments << helperArgs;
        launch.environment = Environment(QStringLiteral("/tmp"));
        launch.strWorkingDirectory = QStringLiteral("/");
    } else {
        launch.strProgram = helper;
        launch.arguments = helperArgs;
        launch.environment = Environment(privateTemp);
        launch.strWorkingDirectory = privateTemp;
    }
    return launch;
}

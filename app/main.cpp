#include "app/CCommandLine.h"
#include "app/CTranslations.h"
#include "app/CVantrelApp.h"

#include <cstdio>
#include <optional>

namespace {

// --help, --version and a bad command line are answered before anything needs a display:
// the exit status then, or nothing when the program is to start.
std::optional<int> AnswerWithoutWindow(int& argc, char** argv) {
    QCoreApplication core(argc, argv);
    CVantrelApp::NameProgram();
    CTranslations::Install();
    const CCommandLine line = CCommandLine::Parse(core.arguments().mid(1));
    if (line.m_action == CCommandLine::EAction::Run)
        return std::nullopt;
    std::fputs(line.m_strMessage.toLocal8Bit().constData(),
               line.m_action == CCommandLine::EAction::Error ? stderr : stdout);
    return line.ExitCode();
}

} // namespace

int main(int argc, char** argv) {
    if (const std::optional<int> status = AnswerWithoutWindow(argc, argv))
        return *status;
    CVantrelApp app(argc, argv);
    if (!app.InitInstance())
        return 1;
    return app.exec();
}

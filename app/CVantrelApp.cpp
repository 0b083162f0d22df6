#include "app/CVantrelApp.h"

#include "app/CMainFrame.h"
#include "app/CSplashWnd.h"
#include "app/CTranslations.h"
#include "picture/sandbox/CDecoderClient.h"
#include "platform/shell/CFileCommandsProvider.h"
#include "platform/system/CProfileStore.h"
#include "platform/system/CTermSignalWatcher.h"
#include "platform/ui/ShowMessage.h"
#include "resources/StringTable.h"

#include <QIcon>
#include <QThreadPool>
#include <QTimer>

void CVantrelApp::NameProgram() {
    setOrganizationName(QStringLiteral("Ostlewin"));
    setApplicationName(strings::Load(strings::IDS_APP_TITLE));
    setApplicationVersion(QStringLiteral(VANTREL_VERSION));
}

CVantrelApp::CVantrelApp(int& argc, char** argv) : QApplication(argc, argv) {
    NameProgram();
    setDesktopFileName(QStringLiteral("com.ostlewin.Vantrel"));
    CTranslations::Install();
    setWindowIcon(QIcon(QStringLiteral(":/vantrel/vantrel.png")));
    QStringList args = arguments();
    args.removeFirst();
    m_commandLine = CCommandLine::Parse(args);
    CSplashWnd::EnableSplash(m_commandLine.m_bShowSplash);
    CFileCommandsProvider::Register();
}

CVantrelApp::~CVantrelApp() {
    m_pMainFrame.reset();       // its loaders ask the helper no more
    CDecoderClient::Shutdown(); // nor is one kept waiting
}

std::unique_ptr<QMainWindow> CVantrelApp::CreateMainWindow(CProfileStore& store,
                                                           const QString& startupPath) {
    return std::make_unique<CMainFrame>(store, startupPath);
}

bool CVantrelApp::InitInstance() {
    // The decoder helper is started once while the window is built and the folder listed.
    QThreadPool::globalInstance()->start([] { CDecoderClient::Warm(); });
    m_store = std::make_unique<CProfileStore>();
    m_pMainFrame = CreateMainWindow(*m_store, m_commandLine.m_strPath);
    m_pMainFrame->show();
    // A settings file that was not read: said once the window is up.
    if (const QString problem = m_store->LoadProblem(); !problem.isEmpty())
        QTimer::singleShot(0, m_pMainFrame.get(),
                           [this, problem] { ShowMessage(m_pMainFrame.get(), problem); });
    // Logging out or a shutdown ends the program through a normal close, which keeps
    // the settings.
    auto* watcher = new CTermSignalWatcher(this);
    connect(watcher, &CTermSignalWatcher::TerminationRequested, this, [this] {
        if (m_pMainFrame)
            m_pMainFrame->close();
        quit();
    });
    return true;
}

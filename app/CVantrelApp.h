#pragma once

#include "app/CCommandLine.h"

#include <QApplication>
#include <memory>

class CMainFrame;
class CProfileStore;

// The application object: reads the command line, names the program for the settings
// store, creates the main window and runs the event loop.
class CVantrelApp : public QApplication {
    Q_OBJECT
public:
    CVantrelApp(int& argc, char** argv);
    ~CVantrelApp() override;

    // Names the program, its maker and its version for the settings store and the
    // command line; needs no display.
    static void NameProgram();

    // Creates and shows the main window; false when start-up failed.
    bool InitInstance();
    const CCommandLine& CommandLine() const { return m_commandLine; }
    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }

private:
    CCommandLine m_commandLine;
    std::unique_ptr<CProfileStore> m_store;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};

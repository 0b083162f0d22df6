#pragma once

#include "app/CCommandLine.h"

#include <QApplication>
#include <memory>

class CProfileStore;
class QMainWindow;

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
    // The program's main window on `store`, opened on `startupPath` when one is given;
    // not yet shown. The store must outlive the window.
    static std::unique_ptr<QMainWindow> CreateMainWindow(CProfileStore& store,
                                                         const QString& startupPath = QString());

    // Creates and shows the main window; false when start-up failed.
    bool InitInstance();
    const CCommandLine& CommandLine() const { return m_commandLine; }
    QMainWindow* MainFrame() const { return m_pMainFrame.get(); }

private:
    CCommandLine m_commandLine;
    std::unique_ptr<CProfileStore> m_store;
    std::unique_ptr<QMainWindow> m_pMainFrame;
};

#pragma once

#include "app/CFrameKeeper.h"
#include "app/CMainStatusBar.h"
#include "app/CPicSplitter.h"
#include "app/CPrintCommands.h"
#include "app/CTargetController.h"
#include "app/CUndoCommands.h"
#include "app/CVantrelApp.h"
#include "app/CViewCommands.h"
#include "picture/view/CVantrelView.h"
#include "platform/system/CProfileStore.h"
#include "platform/ui/CDialogBuilder.h"
#include "platform/ui/CMessageBar.h"
#include "resources/CommandIds.h"
#include "resources/templates/TargetTemplate.h"
#include "settings/CSettings.h"
#include "sorting/session/CSortSession.h"
#include "sorting/widgets/CFileSelect.h"
#include "sorting/widgets/CPictureFileList.h"
#include "sorting/widgets/CTarget.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QThread>
#include <QToolBar>
#include <memory>

// The program's real main window, built by the application's factory and driven as a person
// drives it: commands are triggered through their actions (found by command id), destination
// buttons are clicked, and what the window shows is read from its panes. The settings are
// read back from the store the window writes them to.
class WindowDriver {
public:
    explicit WindowDriver(CProfileStore& store, const QString& startupPath = QString())
        : m_store(store), m_window(CVantrelApp::CreateMainWindow(store, startupPath)) {
        Settle();
    }
    WindowDriver(const WindowDriver&) = delete;
    WindowDriver& operator=(const WindowDriver&) = delete;

    QMainWindow& Window() const { return *m_window; }
    // Waits until the folders asked for are read (the list filled, the tree's folders in)
    // and every sort action given has its outcome shown; false if that never came.
    bool Settle() const {
        QElapsedTimer waited;
        waited.start();
        for (QCoreApplication::processEvents(); !Settled(); QThread::msleep(1)) {
            if (waited.elapsed() > 20000)
                return false;
            QCoreApplication::processEvents();
        }
        return true;
    }
    bool Settled() const {
        CFileSelect* pane = FileSelectPane();
        return !pane || (!FileList().IsListing() && !pane->m_treeFolders.IsReading() &&
                         Session().PendingActions() == 0);
    }
    QAction* Action(int id) const {
        return m_window->findChild<QAction*>(QStringLiteral("cmd%1").arg(id));
    }
    void Trigger(int id) const { Action(id)->trigger(); }
    // Destination n's key (0..19); n == kTargetCount clicks the Home button. Returns once
    // the action's outcome is shown.
    void SendTo(int n) const {
        SendToNow(n);
        Settle();
    }
    // The same, returning as the key does: the file work may still be pending.
    void SendToNow(int n) const {
        if (n == kTargetCount)
            Button(dlg::IDC_HOME)->click();
        else
            Trigger(cmd::ID_SEND_TO_TARGET1 + n);
    }
    // The Delete command, as its key gives it; returns once its outcome is shown.
    void Delete() const {
        Trigger(cmd::ID_DELETE_PICTURE);
        Settle();
    }
    QAbstractButton* Button(int controlId) const {
        return CDialogBuilder::ControlAs<QAbstractButton>(TargetPane(), controlId);
    }

    CMainStatusBar* GetStatusBar() const { return Find<CMainStatusBar>(); }
    QString StatusPaneText(int pane) const { return GetStatusBar()->PaneText(pane); }
    CPictureFileList& FileList() const { return *Find<CPictureFileList>(); }
    CSortSession& Session() const { return FileList().Session(); }
    CFileSelect* FileSelectPane() const { return Find<CFileSelect>(); }
    CVantrelView* PictureViewPane() const { return Find<CVantrelView>(); }
    CImageCtrl& Ctrl() const { return PictureViewPane()->m_imageCtrl; }
    CTarget* TargetPane() const { return Find<CTarget>(); }
    CPicSplitter* Splitter() const { return Find<CPicSplitter>(); }
    CMessageBar* MessageBar() const { return Find<CMessageBar>(); }
    QToolBar* ToolBar() const { return Find<QToolBar>(); }
    CTargetController* TargetController() const { return Find<CTargetController>(); }
    CUndoCommands* UndoCommands() const { return Find<CUndoCommands>(); }
    QPrinter* Printer() const { return Find<CPrintCommands>()->Printer(); }
    CViewCommands* ViewCommands() const { return Find<CViewCommands>(); }
    // The rectangle the window would store now (never a full-screen one).
    QRect WindowRectForSaving() const { return Find<CFrameKeeper>()->RectForSaving(); }
    // The settings as the window has stored them, once its pending writes are done.
    CSettings Settings() const {
        QCoreApplication::processEvents();
        CSettings settings;
        settings.Load(m_store);
        return settings;
    }

private:
    template <class T> T* Find() const { return m_window->findChild<T*>(); }

    CProfileStore& m_store;
    std::unique_ptr<QMainWindow> m_window;
};

#pragma once

#include "app/CCommandBuilder.h"
#include "settings/CSettings.h"

#include <QMainWindow>
#include <memory>

class CFileSelect;
class CHiddenPicturesPane;
class CMainStatusBar;
class CMessageBar;
class CPaneFocus;
class CPictureFileList;
class CFrameKeeper;
class CPicSplitter;
class CPrintCommands;
class CProfileStore;
class CSettingsKeeper;
class CWindowMemory;
class CSortSession;
class CTarget;
class CTargetController;
class CUndoCommands;
class CVantrelDoc;
class CVantrelView;
class QPrinter;
class QToolBar;

// The program's one top-level window. It owns the settings for the whole run (read when
// it is created, written as they change and when it closes), splits its client area into the file
// browser, the picture view and the destination bar, and carries the menus, toolbar and status bar.
// The panes know nothing of each other: the window wires them and the sort session
// together with signals.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(CProfileStore& store, const QString& startupPath = QString(),
                        QWidget* parent = nullptr);
    ~CMainFrame() override;

    CSettings& Settings() { return m_settings; }
    // Name (which == 1) or directory (any other value) of destination i of the current set.
    QString GetTargetString(int i, int which) const {
        return which == 1 ? m_settings.GetTargetName(i) : m_settings.GetTargetDir(i);
    }
    QString GetHomeDirectory() const { return m_settings.GetHomeDirectory(); }
    int GetFitPicToWindow() const { return m_settings.GetFitPicToWindow(); }
    void RebuildExtensionList();
    void OnSendToTarget(int nTarget); // 0..19, or 20 for the home directory
    void OnDeletePicture();
    // Status bar panes: 0 is the message pane ("Ready"), 1 the file count.
    void SetStatusPaneText(int pane, const QString& text);
    QString StatusPaneText(int pane) const;
    // The document title shown before " - Vantrel" in the caption.
    void SetDocumentTitle(const QString& title);
    QString DocumentTitle() const;
    // A folder or picture named on the command line, empty when none was.
    QString StartupPath() const { return m_strStartupPath; }
    // Gives the keyboard focus back to the file list.
    void FocusFileList();

    QAction* Action(int id) const { return m_actions.value(id); }
    CPicSplitter* Splitter() const { return m_wndSplitter; }
    CFileSelect* FileSelectPane() const { return m_pFiles; }
    CVantrelView* PictureViewPane() const { return m_pView; }
    CTarget* TargetPane() const { return m_pTarget; }
    CTargetController* TargetController() const { return m_targetController; }
    CPictureFileList& FileList() const;
    // The sort of the listed folder: its pictures, the current one, the sort actions.
    CSortSession& Session() const { return *m_session; }
    CMainStatusBar* GetStatusBar() const { return m_wndStatusBar; }
    CVantrelDoc* GetPictureDocument() const { return m_document; }
    QToolBar* ToolBar() const { return m_wndToolBar; }
    CUndoCommands* UndoCommands() const { return m_undo; }
    // The notification over the picture view that tells what an action did.
    CMessageBar* MessageBar() const { return m_messageBar; }
    CHiddenPicturesPane* HiddenPicturesPane() const { return m_hiddenPane; }
    CPaneFocus* PaneFocus() const { return m_paneFocus; }

    // Commands of the main window.
    void OnProgramConfig();
    void OnClearPicture();
    void OnToggleResize();
    void OnGoToHome();
    void OnRefreshFiles();
    void OnUpdatePrintPicture();
    void OnTargetDirectories();
    void OnFileTypes();
    void OnSelectButtonGroup(int n);
    void OnHelpKeyboard();
    void OnFilePrintSetup();
    void OnPrintPicture();
    QPrinter* Printer();

    // Writes every setting to the store, once per run, whichever way the window closes.
    void SaveSettings();
    // The outer rectangle to store: the normal one even while maximised or minimised.
    QRect WindowRectForSaving() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void OnCreateClient();
    void CreateBars();
    void ConnectCommands();
    void ConnectPanes();
    void InitialUpdate();
    void UpdateCaption();

    CSettings m_settings;
    CProfileStore& m_store;
    CSortSession* m_session = nullptr; // the listed pictures and the sort; the list views it
    CSettingsKeeper* m_keeper = nullptr;
    CWindowMemory* m_memory = nullptr;
    QString m_strStartupPath;
    CVantrelDoc* m_document = nullptr;
    CMainStatusBar* m_wndStatusBar = nullptr;
    CPicSplitter* m_wndSplitter = nullptr;
    CFileSelect* m_pFiles = nullptr; // the splitter's three panes
    CVantrelView* m_pView = nullptr;
    CTarget* m_pTarget = nullptr;
    QToolBar* m_wndToolBar = nullptr;
    CCommandBuilder::Actions m_actions;
    CTargetController* m_targetController = nullptr;
    CUndoCommands* m_undo = nullptr;
    CMessageBar* m_messageBar = nullptr;
    CHiddenPicturesPane* m_hiddenPane = nullptr;
    CPaneFocus* m_paneFocus = nullptr;
    CFrameKeeper* m_frameKeeper = nullptr; // the window's stored rectangle
    CPrintCommands* m_print = nullptr;     // Print Setup and Print over one printer
    bool m_bSaved = false;
};

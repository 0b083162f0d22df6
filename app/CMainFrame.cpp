#include "app/CMainFrame.h"

#include "app/CFilmstripCommands.h"
#include "app/CFrameKeeper.h"
#include "app/CHiddenPicturesPane.h"
#include "app/CMainStatusBar.h"
#include "app/CPaneFocus.h"
#include "app/CPicSplitter.h"
#include "app/CPictureInfoCommands.h"
#include "app/CPrintCommands.h"
#include "app/CSelectedPicturesPane.h"
#include "app/CSortByCommands.h"
#include "app/CSplashWnd.h"
#include "app/CTargetController.h"
#include "app/CUndoCommands.h"
#include "app/CVantrelDoc.h"
#include "app/CViewCommands.h"
#include "app/CWindowMemory.h"
#include "dialogs/CAboutDlg.h"
#include "dialogs/CConfigDlg.h"
#include "dialogs/CFileTypesDlg.h"
#include "dialogs/CKeyboardDlg.h"
#include "dialogs/CTargetDirsDlg.h"
#include "picture/view/CImageCtrl.h"
#include "picture/view/CVantrelView.h"
#include "platform/system/CProfileStore.h"
#include "platform/ui/CMessageBar.h"
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/ShowMessage.h"
#include "resources/CommandIds.h"
#include "resources/FileTypes.h"
#include "resources/StringTable.h"
#include "settings/CSettingsKeeper.h"
#include "sorting/journal/CUndoHistory.h"
#include "sorting/session/CSortSession.h"
#include "sorting/widgets/CFileSelect.h"
#include "sorting/widgets/CListPlace.h"
#include "sorting/widgets/CRelistChoice.h"
#include "sorting/widgets/CTarget.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

CMainFrame::CMainFrame(CProfileStore& store, const QString& startupPath, QWidget* parent)
    : QMainWindow(parent), m_store(store), m_strStartupPath(startupPath) {
    setObjectName(QStringLiteral("CMainFrame"));
    setWindowIcon(QIcon(QStringLiteral(":/vantrel/vantrel.png")));
    m_settings.Load(m_store);
    m_keeper = new CSettingsKeeper(m_settings, m_store, this); // every change written at once
    connect(m_keeper, &CSettingsKeeper::WriteFailed, this, [this](const QString& why) {
        m_keeper->StopListening(); // said once; the close tries again
        ShowMessage(this, why);
    });
    m_frameKeeper = new CFrameKeeper(*this, m_settings);

    m_document = new CVantrelDoc(this);
    connect(m_document, &CVantrelDoc::TitleChanged, this, &CMainFrame::UpdateCaption);
    m_document->OnNewDocument();

    m_session = new CSortSession(this);
    OnCreateClient();
    CreateBars();
    ConnectCommands();
    ConnectPanes();
    m_undo = new CUndoCommands({Action(cmd::ID_EDIT_UNDO), Action(cmd::ID_EDIT_REDO),
                                Action(cmd::ID_EDIT_HISTORY), &FileList(), m_messageBar, this},
                               m_store);
    // Every action on files from this window, sorts and context-menu commands alike, is
    // recorded in this window's journal.
    m_session->SetActionRecorder(&m_undo->History());
    FileSelectPane()->SetActionRecorder(&m_undo->History());
    m_memory = new CWindowMemory(*this, m_settings, *m_wndSplitter, *FileSelectPane());
    CSplashWnd::ShowSplash(this);
    m_print = new CPrintCommands(PictureViewPane()->m_imageCtrl, *this);
    connect(m_print, &CPrintCommands::Done, this, &CMainFrame::FocusFileList);
    new CViewCommands(m_actions, {this, m_wndSplitter, &PictureViewPane()->m_imageCtrl, &FileList(),
                                  m_messageBar, m_wndStatusBar, &m_settings});
    new CFilmstripCommands( // View > Filmstrip, owned by the window
        {Action(cmd::ID_VIEW_FILMSTRIP), *m_session, FileList(), *PictureViewPane(), m_settings},
        this);
    new CPictureInfoCommands(*this, *Action(cmd::ID_VIEW_PICTURE_INFO), m_settings, FileList());
    new CSortByCommands(m_actions, m_session->Order(), m_settings, this); // View > Sort By
    InitialUpdate();

    // Logging out ends the application without a close event for every window.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &CMainFrame::SaveSettings);
}

// The panes go after the members: what they tell on their way out is no change to keep.
CMainFrame::~CMainFrame() {
    m_session->FinishActions(); // none is dropped, and none outlives the window
    m_keeper->StopListening();
    delete m_memory;
}

void CMainFrame::OnCreateClient() {
    m_wndSplitter = new CPicSplitter(this);
    m_wndSplitter->setObjectName(QStringLiteral("CPicSplitter"));
    auto* files = m_pFiles = new CFileSelect(*m_session, m_wndSplitter);
    auto* view = m_pView = new CVantrelView(m_wndSplitter);
    auto* target = m_pTarget = new CTarget(m_wndSplitter);
    m_wndSplitter->addWidget(files);
    m_wndSplitter->addWidget(view);
    m_wndSplitter->addWidget(target);
    m_wndSplitter->setStretchFactor(0, 0);
    m_wndSplitter->setStretchFactor(1, 1);
    m_wndSplitter->setStretchFactor(2, 0);
    m_wndSplitter->setSizes(CPicSplitter::ColumnWidths(width(), m_wndSplitter->handleWidth()));
    setCentralWidget(m_wndSplitter);
    m_messageBar = new CMessageBar(view);
    m_paneFocus = new CPaneFocus(this); // F6 goes round them in this order
    m_paneFocus->AddPane(&files->m_treeFolders, QString());
    m_paneFocus->AddPane(&files->m_listFiles, QString());
    m_paneFocus->AddPane(view, tr("Picture"));
    m_paneFocus->AddPane(target, tr("Destinations"));
}

void CMainFrame::CreateBars() {
    m_wndStatusBar = new CMainStatusBar(this);
    setStatusBar(m_wndStatusBar);
    m_hiddenPane = new CHiddenPicturesPane(m_wndStatusBar);
    m_wndStatusBar->addPermanentWidget(m_hiddenPane);
    auto* selected = new CSelectedPicturesPane(m_wndStatusBar);
    m_wndStatusBar->addPermanentWidget(selected);
    connect(m_session, &CSortSession::SelectionChanged, selected, &CSelectedPicturesPane::SetNote);

    m_actions = CCommandBuilder::CreateActions(this);
    CCommandBuilder::BuildMenuBar(menuBar(), m_actions);
    m_wndToolBar = new QToolBar(strings::Load(strings::IDS_APP_TITLE), this);
    m_wndToolBar->setObjectName(QStringLiteral("toolBar"));
    m_wndToolBar->setAllowedAreas(Qt::AllToolBarAreas);
    CCommandBuilder::BuildToolBar(m_wndToolBar, m_actions);
    addToolBar(Qt::TopToolBarArea, m_wndToolBar);
}

void CMainFrame::ConnectCommands() {
    connect(Action(cmd::ID_APP_EXIT), &QAction::triggered, this, &QWidget::close);
    connect(Action(cmd::ID_APP_ABOUT), &QAction::triggered, this, [this] {
        CAboutDlg about(this);
        about.exec();
        FocusFileList();
    });

    CCommandBuilder::BindBarToggles(m_actions, m_wndToolBar, m_wndStatusBar);

    connect(Action(cmd::ID_NEXT_PANE), &QAction::triggered, this,
            [this] { m_paneFocus->Cycle(1); });
    connect(Action(cmd::ID_PREV_PANE), &QAction::triggered, this,
            [this] { m_paneFocus->Cycle(-1); });

    const auto on = [this](int id, auto handler) {
        connect(Action(id), &QAction::triggered, this, handler);
    };
    on(cmd::ID_PROGRAM_CONFIG, &CMainFrame::OnProgramConfig);
    on(cmd::ID_TARGET_DIRECTORIES, &CMainFrame::OnTargetDirectories);
    on(cmd::ID_FILE_TYPES, &CMainFrame::OnFileTypes);
    on(cmd::ID_CLEAR_PICTURE, &CMainFrame::OnClearPicture);
    on(cmd::ID_DELETE_PICTURE, &CMainFrame::OnDeletePicture);
    on(cmd::ID_TOGGLE_RESIZE, &CMainFrame::OnToggleResize);
    on(cmd::ID_GO_TO_HOME, &CMainFrame::OnGoToHome);
    on(cmd::ID_REFRESH_FILES, &CMainFrame::OnRefreshFiles);
    connect(&FileList(), &CPictureFileList::CurrentFileChanged, this,
            &CMainFrame::OnUpdatePrintPicture);
    // The picture, when F6 gives it the keys, is told by its file's name.
    connect(&FileList(), &CPictureFileList::CurrentFileChanged, this, [this] {
        PictureViewPane()->m_imageCtrl.setAccessibleName(
            QFileInfo(FileList().m_strCurFile).fileName());
    });
    OnUpdatePrintPicture();
    on(cmd::ID_FILE_PRINT_SETUP, &CMainFrame::OnFilePrintSetup);
    on(cmd::ID_FILE_PRINT, &CMainFrame::OnPrintPicture);
    for (int n = 0; n < kTargetSetCount; ++n)
        on(cmd::ID_BUTTON_GROUP1 + n, [this, n] { OnSelectButtonGroup(n); });
    for (int i = 0; i < cmd::kSendToTargetCount; ++i)
        on(cmd::ID_SEND_TO_TARGET1 + i, [this, i] { m_targetController->OnTargetKey(i); });
    on(cmd::ID_HELP_KEYBOARD, &CMainFrame::OnHelpKeyboard);
    // A tool button's prompt stays when the dialog it opened took the pointer away from it
    // (the pointer never left the button for the bar): once the command is done, the
    // message pane shows again. Connected last, so it runs after every handler.
    for (QAction* action : std::as_const(m_actions))
        connect(action, &QAction::triggered, this, [this] { m_wndStatusBar->clearMessage(); });
}

void CMainFrame::OnHelpKeyboard() {
    CKeyboardDlg dlg(this);
    dlg.exec();
    FocusFileList();
}

// The destination bar's clicks and the session's texts reach the window; the list shows
// its pictures in the picture view's control.
void CMainFrame::ConnectPanes() {
    CTarget* target = TargetPane();
    target->SetSettings(&m_settings);
    connect(target, &CTarget::SendToTarget, this, &CMainFrame::OnSendToTarget);
    connect(target, &CTarget::DeletePicture, this, &CMainFrame::OnDeletePicture);
    connect(target, &CTarget::ModeClicked, this, &CMainFrame::OnProgramConfig);
    // The keys and the setting up of destinations.
    m_targetController = new CTargetController(*target, m_settings, *this);
    connect(m_targetController, &CTargetController::StatusMessage, this,
            [this](const QString& text) { SetStatusPaneText(0, text); });
    connect(m_targetController, &CTargetController::Done, this, &CMainFrame::FocusFileList);
    FileList().SetPictureCtrl(&PictureViewPane()->m_imageCtrl);
    CSortSession& session = Session();
    connect(&session, &CSortSession::StatusTextChanged, this,
            [this](const QString& text) { SetStatusPaneText(0, text); });
    connect(&session, &CSortSession::FileCountChanged, this, [this](const QString& text) {
        SetStatusPaneText(1, text);
        m_hiddenPane->SetCount(Session().HiddenCount());
    });
    connect(&session, &CSortSession::TitleChanged, this, &CMainFrame::SetDocumentTitle);
    session.SetMoveCompanions(m_settings.GetMoveCompanionFiles() != 0);
}

void CMainFrame::OnProgramConfig() {
    const int fitBefore = m_settings.GetFitPicToWindow();
    CConfigDlg dlg(this);
    dlg.SetSettings(&m_settings);
    dlg.DoModal();
    FileList().m_bFitToWindow = m_settings.GetFitPicToWindow();
    if (m_settings.GetFitPicToWindow() != fitBefore)
        FileList().LoadPicture(FileList().GetCurItem());
    Action(cmd::ID_TOGGLE_RESIZE)->setChecked(m_settings.GetFitPicToWindow() != 0);
    TargetPane()->UpdateButtons(); // the mode shown above the buttons
    Session().SetMoveCompanions(m_settings.GetMoveCompanionFiles() != 0);
    FocusFileList();
}

void CMainFrame::OnClearPicture() {
    FileList().SelectItem(-1, true);
    FocusFileList();
}

void CMainFrame::OnToggleResize() {
    m_settings.SetFitPicToWindow(m_settings.GetFitPicToWindow() == 0 ? 1 : 0);
    FileList().m_bFitToWindow = m_settings.GetFitPicToWindow();
    Action(cmd::ID_TOGGLE_RESIZE)->setChecked(m_settings.GetFitPicToWindow() != 0);
    FileList().LoadPicture(FileList().GetCurItem());
    FocusFileList();
}

void CMainFrame::OnGoToHome() {
    if (!GetHomeDirectory().isEmpty())
        FileSelectPane()->m_treeFolders.SelectPath(GetHomeDirectory());
    FocusFileList();
}

void CMainFrame::OnRefreshFiles() {
    FileSelectPane()->m_treeFolders.RefreshExpandedFolders();
    FileList().RefreshList();
    FocusFileList();
}

// Print needs a current file, whichever pane is active.
void CMainFrame::OnUpdatePrintPicture() {
    Action(cmd::ID_FILE_PRINT)->setEnabled(!FileList().m_strCurFile.isEmpty());
}

void CMainFrame::OnTargetDirectories() {
    CTargetDirsDlg dlg(this);
    dlg.SetSettings(&m_settings);
    dlg.DoModal();
    TargetPane()->UpdateButtons();
    FocusFileList();
}

void CMainFrame::OnFileTypes() {
    CFileTypesDlg dlg(this);
    dlg.SetSettings(&m_settings);
    dlg.DoModal();
    CListPlace place(FileList());
    RebuildExtensionList();
    // Read again on the worker: the picture, or the next one the new filter lists.
    CRelistChoice::Start(FileList(), {}, place);
    FocusFileList();
}

void CMainFrame::OnSelectButtonGroup(int n) {
    m_settings.SetSelectionSet(n);
    TargetPane()->UpdateButtons();
}

void CMainFrame::OnPrintPicture() {
    m_print->OnPrintPicture();
}
void CMainFrame::OnFilePrintSetup() {
    m_print->OnFilePrintSetup();
}
QPrinter* CMainFrame::Printer() {
    return m_print->Printer();
}
void CMainFrame::InitialUpdate() {
    PictureViewPane()->OnInitialUpdate();
    TargetPane()->OnInitialUpdate();
    CFileSelect* files = FileSelectPane();
    files->OnInitialUpdate();
    FileList().m_bFitToWindow = m_settings.GetFitPicToWindow();
    RebuildExtensionList();
    files->OpenStartupOrHome(m_strStartupPath, m_settings.StartFolder());
}

void CMainFrame::RebuildExtensionList() {
    CPictureFileList& list = FileList();
    list.ClearExtensions();
    for (const QString& extension : filetypes::ExtensionList(m_settings.GetFilterFlags()))
        list.AddExtension(extension);
}
void CMainFrame::OnSendToTarget(int nTarget) {
    CPictureFileList& list = FileList();
    if (!list.m_strCurFile.isEmpty()) {
        QString dir =
            nTarget == kTargetCount ? GetHomeDirectory() : m_settings.GetTargetDir(nTarget);
        // An empty directory stays empty (the operation refuses it): it is not the root.
        if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
            dir += QLatin1Char('/');
        if (m_settings.GetMoveFiles())
            list.MoveCurFile(dir);
        else
            list.CopyCurFile(dir);
    }
    FocusFileList();
}

void CMainFrame::OnDeletePicture() {
    const bool bToTrash = m_settings.GetUseRecyclingBin() != 0;
    if (!FileList().m_strCurFile.isEmpty() &&
        (bToTrash || m_undo->ConfirmOutrightDelete(FileList().m_strCurFile)))
        FileList().DeleteCurFile(bToTrash);
    FocusFileList();
}
void CMainFrame::FocusFileList() {
    FileList().setFocus();
}
CPictureFileList& CMainFrame::FileList() const {
    return FileSelectPane()->m_listFiles;
}
void CMainFrame::SetStatusPaneText(int pane, const QString& text) {
    m_wndStatusBar->SetPaneText(pane, text);
}
QString CMainFrame::StatusPaneText(int pane) const {
    return m_wndStatusBar->PaneText(pane);
}
void CMainFrame::SetDocumentTitle(const QString& title) {
    m_document->SetTitle(title);
}
QString CMainFrame::DocumentTitle() const {
    return m_document->GetTitle();
}

void CMainFrame::UpdateCaption() {
    setWindowTitle(m_document->GetTitle() + QStringLiteral(" - ") +
                   strings::Load(strings::IDS_APP_TITLE));
}

QRect CMainFrame::WindowRectForSaving() const {
    return m_frameKeeper->RectForSaving();
}

void CMainFrame::SaveSettings() {
    if (m_bSaved)
        return;
    m_bSaved = true;
    m_keeper->StopListening();
    if (!m_settings.Save(m_store, WindowRectForSaving()))
        ShowMessage(isVisible() ? this : nullptr, m_store.WriteError());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    m_session->FinishActions(); // the window says what it finishes when that takes a while
    SaveSettings();
    event->accept();
}

void CMainFrame::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    m_frameKeeper->OnShown();
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        m_frameKeeper->OnStateChanged();
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    m_frameKeeper->OnGeometry();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    m_frameKeeper->OnGeometry();
}

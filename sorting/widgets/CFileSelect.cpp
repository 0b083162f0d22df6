#include "sorting/widgets/CFileSelect.h"

#include "browser/controls/FileSelectLayout.h"
#include "browser/namespace/CNameLookup.h"
#include "platform/shell/CShellItemId.h"
#include "sorting/session/CSortSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QResizeEvent>

CFileSelect::CFileSelect(CSortSession& session, QWidget* parent)
    : QWidget(parent), m_listFiles(session, this), m_treeFolders(this) {
    setObjectName(QStringLiteral("CFileSelect"));
    setAccessibleName(QCoreApplication::translate("CFileSelect", "Folders and pictures"));
    m_treeFolders.setObjectName(QStringLiteral("m_treeFolders"));
    m_treeFolders.setAccessibleName(QCoreApplication::translate("CFileSelect", "Folders"));
    m_listFiles.setAccessibleName(QCoreApplication::translate("CFileSelect", "Pictures"));
    setFocusProxy(&m_listFiles);
    m_pLookup = new CNameLookup(*m_treeFolders.Lister(), this);
}

void CFileSelect::OnInitialUpdate() {
    m_treeFolders.InitTree(&m_listFiles, QStringLiteral("/"));
    // Tab from the folder tree goes to the file list, Shift+Tab from the list to the tree.
    QWidget::setTabOrder(&m_treeFolders, &m_listFiles);
    m_listFiles.m_bIncludeFolders = false;
    m_treeFolders.setFocus();
}

void CFileSelect::OpenStartupOrHome(const QString& startupPath, const QString& homeDirectory) {
    if (startupPath.isEmpty()) {
        OpenHome(homeDirectory);
        return;
    }
    // Only names here: whether the path is a folder, a file or nothing, a worker finds out.
    const QFileInfo info(QDir::cleanPath(QFileInfo(startupPath).absoluteFilePath()));
    if (info.fileName().isEmpty()) { // the root
        OpenFolder(info.filePath(), QString());
        return;
    }
    m_pLookup->Ask(QFile::encodeName(info.path()), QFile::encodeName(info.fileName()),
                   [this, info, homeDirectory](bool bFound, unsigned char flags) {
                       if (!bFound)
                           OpenHome(homeDirectory);
                       else if (flags & CShellItemId::IsFolder)
                           OpenFolder(info.filePath(), QString());
                       else
                           OpenFolder(info.path(), info.fileName());
                   });
}

void CFileSelect::OpenHome(const QString& homeDirectory) {
    if (!homeDirectory.isEmpty())
        m_treeFolders.SelectPath(homeDirectory);
}

// Once the tree has walked to the folder: the listed file with this name is selected and
// shown as soon as it is listed (an empty name: the first file, once the folder is listed),
// with the keyboard in the list so that the arrow keys go on from it.
void CFileSelect::OpenFolder(const QString& folder, const QString& name) {
    disconnect(m_walked); // a walk given up meanwhile selects nothing later
    m_walked = connect(
        &m_treeFolders, &CNamespaceTreeView::PathWalked, this,
        [this, name] {
            m_listFiles.SelectWhenListed(name);
            m_listFiles.setFocus();
        },
        Qt::SingleShotConnection);
    m_treeFolders.SelectPath(folder);
}

void CFileSelect::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    OnSize(event->size().width(), event->size().height());
}

void CFileSelect::OnSize(int cx, int cy) {
    const FileSelectLayout layout = FileSelectLayout::For(cx, cy);
    m_treeFolders.setGeometry(layout.tree);
    m_listFiles.setGeometry(layout.list);
}

void CFileSelect::SetActionRecorder(CFileActionHook* recorder) {
    m_listFiles.SetActionRecorder(recorder);
    m_treeFolders.SetActionRecorder(recorder);
}

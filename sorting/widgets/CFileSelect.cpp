#include "sorting/widgets/CFileSelect.h"

#include "browser/controls/FileSelectLayout.h"
#include "sorting/session/CSortSession.h"

#include <QCoreApplication>
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
}

void CFileSelect::OnInitialUpdate() {
    m_treeFolders.InitTree(&m_listFiles, QStringLiteral("/"));
    // Tab from the folder tree goes to the file list, Shift+Tab from the list to the tree.
    QWidget::setTabOrder(&m_treeFolders, &m_listFiles);
    m_listFiles.m_bIncludeFolders = false;
    m_treeFolders.setFocus();
}

void CFileSelect::OpenStartupOrHome(const QString& startupPath, const QString& homeDirectory) {
    if (!OpenStartupPath(startupPath) && !homeDirectory.isEmpty())
        m_treeFolders.SelectPath(homeDirectory);
}

bool CFileSelect::OpenStartupPath(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (info.isDir()) {
        m_treeFolders.SelectPath(info.absoluteFilePath());
        SelectFileByName(QString());
        return true;
    }
    if (!info.isFile())
        return false;
    m_treeFolders.SelectPath(info.absolutePath());
    SelectFileByName(info.fileName());
    return true;
}

// Selects and shows the listed file with this name as soon as it is listed (an empty name:
// the first file, once the folder is listed), with the keyboard in the list so that the
// arrow keys go on from it.
void CFileSelect::SelectFileByName(const QString& name) {
    m_listFiles.SelectWhenListed(name);
    m_listFiles.setFocus();
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

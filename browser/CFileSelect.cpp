#include "browser/CFileSelect.h"

#include "app/CFrameServices.h"
#include "app/CPicSplitter.h"
#include "browser/FileSelectLayout.h"
#include "settings/CSettings.h"

#include <QFileInfo>
#include <QResizeEvent>
#include <QTimer>

CFileSelect::CFileSelect(QWidget* parent)
    : QWidget(parent), m_listFiles(this), m_treeFolders(this) {
    setObjectName(QStringLiteral("CFileSelect"));
    m_treeFolders.setObjectName(QStringLiteral("m_treeFolders"));
    setFocusProxy(&m_listFiles);
}

void CFileSelect::OnInitialUpdate() {
    CFrameServices* frame = CFrameServices::Of(this);
    if (auto* splitter = dynamic_cast<CPicSplitter*>(parentWidget()))
        splitter->m_pFileSelect = this;
    m_treeFolders.InitTree(&m_listFiles, QStringLiteral("/"));
    if (!frame)
        return;
    m_listFiles.m_bFitToWindow = frame->GetFitPicToWindow();
    m_listFiles.m_bIncludeFolders = false;
    frame->RebuildExtensionList();
    m_treeFolders.setFocus();
    if (!OpenStartupPath(frame->StartupPath()) && !frame->GetHomeDirectory().isEmpty())
        m_treeFolders.SelectPath(frame->GetHomeDirectory());
}

bool CFileSelect::OpenStartupPath(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (info.isDir()) {
        m_treeFolders.SelectPath(info.absoluteFilePath());
        return true;
    }
    if (!info.isFile())
        return false;
    m_treeFolders.SelectPath(info.absolutePath());
    // Selected once every pane has had its initial update: the picture view hands its
    // control to the list after this pane.
    QTimer::singleShot(0, this, [this, name = info.fileName()] { SelectFileByName(name); });
    return true;
}

// Selects and shows the listed file with this name, with the keyboard in the list so that
// the arrow keys go on from it.
void CFileSelect::SelectFileByName(const QString& name) {
    for (int i = 0; i < m_listFiles.GetItemCount(); ++i) {
        if (m_listFiles.GetItemText(i) == name) {
            m_listFiles.SelectItem(i, true);
            break;
        }
    }
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

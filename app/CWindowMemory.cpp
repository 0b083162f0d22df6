#include "app/CWindowMemory.h"

#include "app/CMainFrame.h"
#include "app/CPicSplitter.h"
#include "browser/namespace/CNamespaceListView.h"
#include "sorting/widgets/CFileSelect.h"

#include <QEvent>
#include <QFile>
#include <QSplitterHandle>

CWindowMemory::CWindowMemory(CMainFrame& frame) : QObject(&frame), m_frame(frame) {
    CSettings& settings = frame.Settings();
    if (settings.GetMaximized())
        frame.setWindowState(frame.windowState() | Qt::WindowMaximized);
    CPicSplitter* splitter = frame.Splitter();
    splitter->SetFileSelectWidth(settings.GetFileSelectWidth());
    if (QSplitterHandle* bar = splitter->handle(1))
        bar->installEventFilter(this);
    frame.installEventFilter(this);
    connect(&frame.FileSelectPane()->m_treeFolders, &QTreeWidget::currentItemChanged, this,
            &CWindowMemory::RecordFolder);
}

// Only the two events are looked at: the window sends others while it is being destroyed.
bool CWindowMemory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && watched == &m_frame) {
        const Qt::WindowStates state = m_frame.windowState();
        if (!(state & Qt::WindowMinimized)) // a minimised window goes back to how it was
            m_frame.Settings().SetMaximized((state & Qt::WindowMaximized) != 0);
    } else if (event->type() == QEvent::MouseButtonRelease && watched != &m_frame) {
        m_frame.Settings().SetFileSelectWidth(m_frame.Splitter()->FileSelectWidth());
    }
    return QObject::eventFilter(watched, event);
}

// Runs after the tree has filled the list from the folder it selected.
void CWindowMemory::RecordFolder() {
    const QByteArray dir =
        static_cast<const CNamespaceListView&>(m_frame.FileList()).ListedFolder();
    if (!dir.isEmpty())
        m_frame.Settings().SetLastFolder(QFile::decodeName(dir));
}

#include "app/CWindowMemory.h"

#include "app/CPicSplitter.h"
#include "browser/namespace/CNamespaceListView.h"
#include "settings/CSettings.h"
#include "sorting/widgets/CFileSelect.h"

#include <QEvent>
#include <QFile>
#include <QSplitterHandle>

CWindowMemory::CWindowMemory(QWidget& window, CSettings& settings, CPicSplitter& splitter,
                             CFileSelect& browser)
    : QObject(&window), m_window(window), m_settings(settings), m_splitter(splitter),
      m_browser(browser) {
    if (settings.GetMaximized())
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    splitter.SetFileSelectWidth(settings.GetFileSelectWidth());
    if (QSplitterHandle* bar = splitter.handle(1))
        bar->installEventFilter(this);
    window.installEventFilter(this);
    connect(&browser.m_treeFolders, &QTreeWidget::currentItemChanged, this,
            &CWindowMemory::RecordFolder);
}

// Only the two events are looked at: the window sends others while it is being destroyed.
bool CWindowMemory::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && watched == &m_window) {
        const Qt::WindowStates state = m_window.windowState();
        if (!(state & Qt::WindowMinimized)) // a minimised window goes back to how it was
            m_settings.SetMaximized((state & Qt::WindowMaximized) != 0);
    } else if (event->type() == QEvent::MouseButtonRelease && watched != &m_window) {
        m_settings.SetFileSelectWidth(m_splitter.FileSelectWidth());
    }
    return QObject::eventFilter(watched, event);
}

// Runs after the tree has filled the list from the folder it selected.
void CWindowMemory::RecordFolder() {
    const QByteArray dir = m_browser.m_listFiles.ListedFolder();
    if (!dir.isEmpty())
        m_settings.SetLastFolder(QFile::decodeName(dir));
}

#include "browser/namespace/CTreeFolderDrag.h"

#include "browser/controls/PidlFunctions.h"
#include "browser/namespace/CNamespaceTreeView.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

CTreeFolderDrag::CTreeFolderDrag(CNamespaceTreeView& tree) : QObject(&tree), m_tree(tree) {
}

bool CTreeFolderDrag::Press(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    QTreeWidgetItem* item = m_tree.itemAt(pos);
    m_pressed = QPersistentModelIndex();
    if (event->button() != Qt::LeftButton || !item || item == m_tree.currentItem() ||
        !m_tree.visualItemRect(item).contains(pos))
        return false;
    m_pressed = m_tree.indexFromItem(item);
    m_pressedAt = pos;
    event->accept();
    return true;
}

bool CTreeFolderDrag::Move(QMouseEvent* event) {
    if (!m_pressed.isValid())
        return false;
    const bool dragging = (event->buttons() & Qt::LeftButton) &&
                          (event->position().toPoint() - m_pressedAt).manhattanLength() >=
                              QApplication::startDragDistance();
    if (dragging) {
        QTreeWidgetItem* item = m_tree.itemFromIndex(m_pressed);
        m_pressed = QPersistentModelIndex();
        Start(item);
    }
    return true;
}

bool CTreeFolderDrag::Release(QMouseEvent*) {
    if (!m_pressed.isValid())
        return false;
    QTreeWidgetItem* item = m_tree.itemFromIndex(m_pressed);
    m_pressed = QPersistentModelIndex();
    if (item)
        m_tree.setCurrentItem(item);
    return true;
}

void CTreeFolderDrag::Start(QTreeWidgetItem* item) {
    const NSTREEITEM* rec = CNamespaceTreeView::RecordOf(item);
    const QString path = rec ? GetPathFromPidl(rec->pidlAbs) : QString();
    if (path.isEmpty())
        return; // "Computer" and other places outside the file system
    auto* mime = new QMimeData;
    mime->setUrls({QUrl::fromLocalFile(path)});
    auto* drag = new QDrag(&m_tree);
    drag->setMimeData(mime);
    const QSize size = m_tree.iconSize().isValid() ? m_tree.iconSize() : QSize(16, 16);
    drag->setPixmap(item->icon(0).pixmap(size));
    drag->exec(Qt::LinkAction | Qt::CopyAction, Qt::LinkAction);
}

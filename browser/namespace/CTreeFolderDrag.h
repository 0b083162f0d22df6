#pragma once

#include <QObject>
#include <QPersistentModelIndex>
#include <QPoint>

class CNamespaceTreeView;
class QMouseEvent;
class QTreeWidgetItem;

// Dragging a folder out of the tree (onto a destination button, or into a file manager). A
// press on another folder's label may begin a drag: that folder is selected, and so listed,
// only when the button goes up without one, so that a drag leaves the list as it is.
class CTreeFolderDrag : public QObject {
    Q_OBJECT
public:
    explicit CTreeFolderDrag(CNamespaceTreeView& tree);

    // The tree's mouse events; each returns false when the tree handles it as usual.
    bool Press(QMouseEvent* event);
    bool Move(QMouseEvent* event);
    bool Release(QMouseEvent* event);
    // Drags the item's folder as a file URL; nothing for places outside the file system.
    void Start(QTreeWidgetItem* item);

private:
    CNamespaceTreeView& m_tree;
    QPersistentModelIndex m_pressed; // the folder pressed and not yet selected
    QPoint m_pressedAt;
};

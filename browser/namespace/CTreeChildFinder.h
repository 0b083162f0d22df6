#pragma once

#include "platform/shell/CItemIdList.h"

#include <QString>

class QTreeWidgetItem;

// Finds a folder among the children of a tree item: by its identifier when one is given
// (names that read alike cannot be confused), else by its name.
class CTreeChildFinder {
public:
    // The child with this identifier, else the child `text` names (see Matching); null
    // when there is none.
    static QTreeWidgetItem* Find(QTreeWidgetItem* parent, LPCITEMIDLIST pidlRel,
                                 const QString& text);
    // The child whose name equals `text` as the file system compares names, else the one
    // equal in any case, else the first whose name contains it in any case.
    static QTreeWidgetItem* Matching(QTreeWidgetItem* parent, const QString& text);
    // Whether the item has sub-folders or may have them (not listed yet).
    static bool HasChildren(const QTreeWidgetItem* item);
};

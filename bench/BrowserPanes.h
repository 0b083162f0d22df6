#pragma once

#include "browser/namespace/CNamespaceListView.h"
#include "browser/namespace/CNamespaceTreeView.h"

#include <QVBoxLayout>
#include <QWidget>

namespace bench {

// The folder tree above the file list, shown, with the tree started at the root and the
// list listing files only.
struct BrowserPanes {
    QWidget window;
    CNamespaceTreeView* tree = new CNamespaceTreeView(&window);
    CNamespaceListView* list = new CNamespaceListView(&window);

    BrowserPanes() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(tree, 3);
        layout->addWidget(list, 7);
        window.resize(200, 600);
        window.show();
        tree->InitTree(list, QStringLiteral("/"));
        list->m_bIncludeFolders = false;
    }
};

} // namespace bench

#pragma once

#include "browser/namespace/CNamespaceListView.h"
#include "browser/namespace/CNamespaceTreeView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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
    // Until the folders asked for are read on the worker: the tree's walk and the list.
    void Settle() const {
        QElapsedTimer t;
        t.start();
        QCoreApplication::processEvents();
        while ((list->IsListing() || tree->IsReading()) && t.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
};

} // namespace bench

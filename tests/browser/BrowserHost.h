#pragma once

#include "browser/namespace/CNamespaceTreeView.h"
#include "tests/browser/CRecordingListView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

// The folder tree above a recording file list, in a shown window, wired as the left pane
// wires them.
class BrowserHost : public QWidget {
public:
    BrowserHost() {
        auto* layout = new QVBoxLayout(this);
        m_tree = new CNamespaceTreeView(this);
        m_list = new CRecordingListView;
        m_list->setParent(this);
        layout->addWidget(m_tree, 3);
        layout->addWidget(m_list, 7);
        resize(300, 700);
        show();
        m_bExposed = QTest::qWaitForWindowExposed(this);
        m_tree->InitTree(m_list, QStringLiteral("/"));
    }
    CNamespaceTreeView& Tree() { return *m_tree; }
    // Waits until the folders asked for are read: the list filled, the tree's folders in.
    bool Settle() {
        QCoreApplication::processEvents();
        return QTest::qWaitFor([this] { return !m_list->IsListing() && !m_tree->IsReading(); },
                               20000);
    }
    CRecordingListView& List() { return *m_list; }
    QString CurrentText() const {
        return m_tree->currentItem() ? m_tree->currentItem()->text(0) : QString();
    }
    // The tree item of a child named `text` below the current item.
    QTreeWidgetItem* Child(const QString& text) const {
        QTreeWidgetItem* item = m_tree->currentItem();
        for (int i = 0; item && i < item->childCount(); ++i)
            if (item->child(i)->text(0) == text)
                return item->child(i);
        return nullptr;
    }

    // A right click `x` pixels into the row of a tree item.
    void TreeContextMenu(QTreeWidgetItem* item, int x) {
        const QRect rect = m_tree->visualItemRect(item);
        const QPoint pos(rect.left() + x, rect.center().y());
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos,
                                m_tree->viewport()->mapToGlobal(pos));
        QApplication::sendEvent(m_tree->viewport(), &event);
    }
    // How far into a tree row its label begins, past the icon.
    int OnTreeLabel() const { return m_tree->style()->pixelMetric(QStyle::PM_SmallIconSize) + 14; }

    bool m_bExposed = false;

private:
    CNamespaceTreeView* m_tree;
    CRecordingListView* m_list;
};

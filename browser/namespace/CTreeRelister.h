#pragma once

#include "platform/shell/ListedEntry.h"
#include "platform/system/DirectoryChanges.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QSet>
#include <functional>

class CFolderLister;
class CNamespaceTreeView;
class CTreeFolderFollower;
class QTreeWidgetItem;

// Brings the sub-folders of an expanded tree item up to date with its folder on disk (F5,
// lost watch events, a folder renamed from the tree's menu): the folder is read again on a
// worker (CFolderLister) and the differences are applied as the folder watch's are, so the
// tree never reads the disk itself. A hidden sub-folder, which is in the tree only because
// a path named it, stays while a worker still finds it there.
class CTreeRelister : public QObject {
    Q_OBJECT
public:
    // Called once the item's sub-folders are up to date (or could not be read): with the
    // item, or null when it went meanwhile.
    using Done = std::function<void(QTreeWidgetItem* item)>;

    CTreeRelister(CNamespaceTreeView& tree, CFolderLister& lister, CTreeFolderFollower& follower);

    void Relist(QTreeWidgetItem* item, Done done = {});
    // True while a reading or a look-up for the tree is under way.
    bool IsBusy() const { return !m_readings.isEmpty() || !m_looks.isEmpty(); }

private:
    struct Reading {
        QPersistentModelIndex index;
        QSet<QByteArray> folders; // the sub-folders the worker found
        Done done;
        DirectoryChanges changes; // found so far, while hidden ones are looked up
    };
    void OnBatch(quint64 ticket, const ListedEntries& entries);
    void OnFinished(quint64 ticket, bool bOk);
    void OnLooked(quint64 ticket, const ListedEntries& found);
    // What makes the item's children match the reading; hidden ones not looked up yet.
    QList<QByteArray> Compare(QTreeWidgetItem* item, Reading& reading) const;
    void Apply(Reading reading);

    CNamespaceTreeView& m_tree;
    CFolderLister& m_lister;
    CTreeFolderFollower& m_follower;
    QHash<quint64, Reading> m_readings; // by the reading's ticket
    QHash<quint64, Reading> m_looks;    // by the look-up's ticket: hidden ones looked up
};

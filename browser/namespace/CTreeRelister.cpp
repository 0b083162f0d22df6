#include "browser/namespace/CTreeRelister.h"

#include "browser/namespace/CNamespaceTreeView.h"
#include "browser/namespace/CTreeFolderFollower.h"
#include "platform/shell/CFolderLister.h"
#include "platform/shell/CShellItemId.h"

#include <QTreeWidgetItem>

CTreeRelister::CTreeRelister(CNamespaceTreeView& tree, CFolderLister& lister,
                             CTreeFolderFollower& follower)
    : QObject(&tree), m_tree(tree), m_lister(lister), m_follower(follower) {
    connect(&lister, &CFolderLister::Batch, this, &CTreeRelister::OnBatch);
    connect(&lister, &CFolderLister::Finished, this, &CTreeRelister::OnFinished);
    connect(&lister, &CFolderLister::Looked, this, &CTreeRelister::OnLooked);
}

void CTreeRelister::Relist(QTreeWidgetItem* item, Done done) {
    const NSTREEITEM* rec = CNamespaceTreeView::RecordOf(item);
    const QByteArray path = rec ? CShellItemId::PathOf(rec->pidlAbs) : QByteArray();
    if (path.isEmpty()) { // no folder of the file system: nothing to read
        if (done)
            done(item);
        return;
    }
    Reading reading;
    reading.index = QPersistentModelIndex(m_tree.indexFromItem(item));
    reading.done = std::move(done);
    m_readings.insert(m_lister.List(path), reading);
}

void CTreeRelister::OnBatch(quint64 ticket, const ListedEntries& entries) {
    const auto it = m_readings.find(ticket);
    if (it == m_readings.end())
        return;
    for (const SListedEntry& e : entries)
        if (e.flags & CShellItemId::IsFolder)
            it->folders.insert(e.name);
}

void CTreeRelister::OnFinished(quint64 ticket, bool bOk) {
    if (!m_readings.contains(ticket))
        return;
    Reading reading = m_readings.take(ticket);
    QTreeWidgetItem* item = reading.index.isValid() ? m_tree.itemFromIndex(reading.index) : nullptr;
    if (!item || !bOk) { // gone, or unreadable now: the item stays as it is
        if (reading.done)
            reading.done(item);
        return;
    }
    const QList<QByteArray> hidden = Compare(item, reading);
    const NSTREEITEM* rec = CNamespaceTreeView::RecordOf(item);
    if (hidden.isEmpty() || !rec) {
        Apply(std::move(reading));
        return;
    }
    m_looks.insert(m_lister.Look(CShellItemId::PathOf(rec->pidlAbs), hidden, true), reading);
}

// Sub-folders listed and not shown appeared, shown and not listed vanished; the hidden ones
// shown are returned, to be looked up (a listing leaves them out).
QList<QByteArray> CTreeRelister::Compare(QTreeWidgetItem* item, Reading& reading) const {
    QList<QByteArray> hidden;
    QSet<QByteArray> shown;
    for (int i = 0; i < item->childCount(); ++i)
        if (const NSTREEITEM* child = CNamespaceTreeView::RecordOf(item->child(i)))
            shown.insert(CShellItemId::BytesOf(child->pidlRel).toByteArray());
    for (const QByteArray& name : std::as_const(reading.folders))
        if (!shown.remove(name))
            reading.changes.Appeared(name, true);
    for (const QByteArray& name : std::as_const(shown)) {
        if (name.startsWith('.'))
            hidden.append(name);
        else
            reading.changes.Vanished(name, true);
    }
    return hidden;
}

void CTreeRelister::OnLooked(quint64 ticket, const ListedEntries& found) {
    if (!m_looks.contains(ticket))
        return;
    Reading reading = m_looks.take(ticket);
    QTreeWidgetItem* item = reading.index.isValid() ? m_tree.itemFromIndex(reading.index) : nullptr;
    QSet<QByteArray> there;
    for (const SListedEntry& e : found)
        if (e.flags & CShellItemId::IsFolder)
            there.insert(e.name);
    for (int i = 0; item && i < item->childCount(); ++i) {
        const NSTREEITEM* child = CNamespaceTreeView::RecordOf(item->child(i));
        const QByteArray name =
            child ? CShellItemId::BytesOf(child->pidlRel).toByteArray() : QByteArray();
        if (name.startsWith('.') && !there.contains(name))
            reading.changes.Vanished(name, true);
    }
    Apply(std::move(reading));
}

void CTreeRelister::Apply(Reading reading) {
    QTreeWidgetItem* item = reading.index.isValid() ? m_tree.itemFromIndex(reading.index) : nullptr;
    if (item && !reading.changes.IsEmpty())
        m_follower.ApplyChildChanges(item, reading.changes);
    if (reading.done)
        reading.done(reading.index.isValid() ? m_tree.itemFromIndex(reading.index) : nullptr);
}

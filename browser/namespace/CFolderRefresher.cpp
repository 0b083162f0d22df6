#include "browser/namespace/CFolderRefresher.h"

#include "platform/shell/CFolderLister.h"
#include "platform/shell/CShellItemId.h"

#include <QWidget>

CFolderRefresher::CFolderRefresher(QWidget* window, Listed listed, Apply apply)
    : QObject(window), m_pWindow(window), m_listed(std::move(listed)), m_apply(std::move(apply)) {
    connect(&m_timer, &QTimer::timeout, this, &CFolderRefresher::OnTick);
}

void CFolderRefresher::Follow(CFolderLister* lister, const QByteArray& dir) {
    Stop();
    if (m_pLister != lister) {
        if (m_pLister)
            disconnect(m_pLister, nullptr, this, nullptr);
        m_pLister = lister;
        if (lister) {
            connect(lister, &CFolderLister::Batch, this, &CFolderRefresher::OnBatch);
            connect(lister, &CFolderLister::Finished, this, &CFolderRefresher::OnFinished);
            connect(lister, &CFolderLister::Looked, this, &CFolderRefresher::OnLooked);
        }
    }
    m_dir = dir;
    if (lister)
        m_timer.start(lister->RelistInterval());
}

void CFolderRefresher::Stop() {
    m_timer.stop();
    if (m_nReading && m_pLister)
        m_pLister->Cancel(m_nReading);
    m_nReading = 0;
    m_read.clear();
    m_looks.clear();
    m_dir.clear();
    m_bRemote = false;
}

void CFolderRefresher::Read(const DirectoryChanges& changes) {
    if (m_dir.isEmpty() || !m_pLister || changes.IsEmpty())
        return;
    if (changes.Rescan()) {
        if (!m_nReading) // one reading at a time: it sees every change made before it ends
            m_nReading = m_pLister->List(m_dir);
        return;
    }
    Update gone; // what went needs no look at the disk
    for (const DirectoryChanges::Entry& e : changes.Removed())
        gone.changes.Vanished(e.name, e.folder);
    if (!gone.changes.IsEmpty())
        m_apply(gone);
    QList<QByteArray> added;
    for (const DirectoryChanges::Entry& e : changes.Added())
        added.append(e.name);
    if (!added.isEmpty())
        m_looks.insert(m_pLister->Look(m_dir, added));
}

void CFolderRefresher::OnLooked(quint64 ticket, const ListedEntries& found) {
    if (!m_looks.remove(ticket))
        return;
    Update update;
    for (const SListedEntry& e : found) {
        update.changes.Appeared(e.name, e.flags & CShellItemId::IsFolder);
        update.flags.insert(e.name, e.flags);
    }
    if (!update.changes.IsEmpty())
        m_apply(update);
}

void CFolderRefresher::OnBatch(quint64 ticket, const ListedEntries& entries) {
    if (ticket == m_nReading)
        m_read.append(entries);
}

// The folder as read now against what is listed: what appeared and what went.
void CFolderRefresher::OnFinished(quint64 ticket, bool bOk) {
    if (ticket != m_nReading)
        return;
    m_nReading = 0;
    const ListedEntries read = std::exchange(m_read, {});
    if (!bOk)
        return; // unreadable now: the list stays as it is
    Update update;
    update.bWhole = true;
    QSet<QByteArray> listed = m_listed();
    for (const SListedEntry& e : read) {
        update.all.insert(e.name);
        if (!listed.remove(e.name)) {
            update.changes.Appeared(e.name, e.flags & CShellItemId::IsFolder);
            update.flags.insert(e.name, e.flags);
        }
    }
    for (const QByteArray& name : std::as_const(listed))
        update.changes.Vanished(name, false);
    m_apply(update);
}

void CFolderRefresher::OnTick() {
    if (!m_pLister || !m_pLister->IsRemote(m_dir))
        return;
    if (!std::exchange(m_bRemote, true))
        Q_EMIT Remote();
    if (m_pWindow->window()->isActiveWindow())
        Read(DirectoryChanges::RescanAll());
}

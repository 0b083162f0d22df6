#pragma once

#include "platform/files/CListedFolder.h"
#include "platform/shell/CItemIdList.h"
#include "platform/shell/ListedEntry.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <algorithm>

class CEnumIDList;
class CFolderLister;
class CNamespaceListView;
class CShellFolder;
struct NSTREEITEM;

// Fills a file list from a reading of its folder on a worker (CFolderLister): the items
// appear batch by batch in the list's order, so that what is on show never changes order;
// the current item and the selection stay on their files as later batches land.
// A new filling, or the list emptied, gives up the reading under way: its late batches are
// dropped.
class CListFiller : public QObject {
    Q_OBJECT
public:
    explicit CListFiller(CNamespaceListView& list);
    ~CListFiller() override;

    // Starts filling the (emptied) list from the folder of this tree item; false when the
    // folder is not one a worker can read (the caller lists it itself then).
    bool Start(CFolderLister* lister, NSTREEITEM* pFolderItem, CShellFolder* psfFolder);
    // Fills the (emptied) list from the folder on this thread, in one change of the list;
    // empty when the folder cannot be read. Finished follows.
    void ListNow(NSTREEITEM* pFolderItem, CShellFolder* psfFolder);
    // Gives up the reading under way, if any.
    void Cancel();
    bool IsFilling() const { return m_nTicket != 0; }
    // How many read items one turn of the event loop adds at most (at least one).
    void SetMostPerTurn(int nItems) { m_nMostPerTurn = std::max(nItems, 1); }
    // Selects the item of this name as soon as it is listed, or with an empty name the
    // first item once the folder is listed whole; at once when nothing is being listed.
    void SelectWhenListed(const QString& name);

Q_SIGNALS:
    // The listing ended (read whole or not); the list holds what it found.
    void Finished();

private:
    void OnOpened(quint64 ticket, const CListedFolder& folder);
    void OnBatch(quint64 ticket, const ListedEntries& entries);
    void OnFinished(quint64 ticket, bool bOk);
    void PostDrain();
    void Drain();
    void Finish();
    void AddSorted(const ListedEntries& entries);
    bool Add(const SListedEntry& entry);
    bool KeysAgree(const ListedEntries& entries) const;
    bool SelectPending(bool bEnd);
    void Release();
    void HoldFreeing(bool bHold);
    bool AddAll(CEnumIDList& items, LPCITEMIDLIST pidlFolder, CShellFolder* psf);

    CNamespaceListView& m_list;
    QPointer<CFolderLister> m_pLister;
    quint64 m_nTicket = 0;
    CShellFolder* m_psf = nullptr; // one reference while filling
    LPITEMIDLIST m_pidl = nullptr; // the folder's absolute list
    bool m_bComplete = true;       // no item was refused
    int m_nAdded = 0;              // items this filling added
    bool m_bPending = false;       // a selection waits for its item
    QString m_pendingName;
    bool m_bAdding = false; // a batch is being added
    int m_nMostPerTurn = 16384;
    ListedEntries m_queued;      // read, not yet added
    bool m_bDrainPosted = false; // a turn to add them is due
    bool m_bEnded = false;       // the reading ended; the list finishes once the queue is in
    bool m_bEndedOk = false;
    bool m_bHolding = false; // the list's removed rows wait until this filling ends
};

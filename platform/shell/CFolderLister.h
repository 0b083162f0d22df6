#pragma once

#include "platform/files/CListedFolder.h"
#include "platform/shell/ListedEntry.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QThreadPool>
#include <atomic>
#include <memory>

// Reads folders on a worker thread, so that the window never waits for the disk: the
// entries of a folder (names that begin with a dot left out) arrive in batches, each a
// signal, then the end; and whether a folder has a sub-folder. A folder is read once for
// everyone who asks while its reading is under way: the file list and the folder tree
// share it. A reading nobody waits for any more is given up between two batches.
class CFolderLister : public QObject {
    Q_OBJECT
public:
    explicit CFolderLister(QObject* parent = nullptr);
    ~CFolderLister() override;

    // Starts reading the folder at `path`, or joins the reading of it under way (what it
    // delivered so far comes again as one batch). The ticket names the reading's signals
    // for this caller; never 0.
    quint64 List(const QByteArray& path);
    // The caller waits no more: its signals stop; the reading is given up once no caller
    // waits for it.
    void Cancel(quint64 ticket);
    // Looks up these names in the folder at `dir` (Looked answers with those that are there;
    // hidden names only with bHidden). The ticket names the answer; never 0.
    quint64 Look(const QByteArray& dir, const QList<QByteArray>& names, bool bHidden = false);
    // Whether the folder at `path`, as last opened for reading, lies on a file system reached
    // over a network (or was marked so), where the folder watch sees nothing.
    bool IsRemote(const QByteArray& path) const { return m_remote.contains(path); }
    // Counts the folder at `path` as remote from now on, whatever its file system (tests).
    void MarkRemote(const QByteArray& path) { m_marked.insert(path); }
    // How often a folder on a remote file system on show is read again to find its changes,
    // in ms (tests make it short).
    int RelistInterval() const { return m_nRelistMs; }
    void SetRelistInterval(int ms) { m_nRelistMs = ms; }
    // Asks whether the folder at `path` has a sub-folder (SubFolderKnown answers). A folder
    // listed before answers from that listing, without the disk.
    void Probe(const QByteArray& path);
    // The answer known for `path`: 1 has a sub-folder, 0 has none, -1 not known.
    int KnownSubFolder(const QByteArray& path) const;
    // Entries per batch, always (tests make it small); by default the first batch is small
    // and each later one twice the last.
    void SetBatchSize(int n) {
        m_nBatch = n > 0 ? n : 1;
        m_bFixedBatch = true;
    }
    // True while a reading, a probe or a look-up is under way or its answer not yet delivered.
    bool IsBusy() const { return !m_running.isEmpty() || m_nProbes > 0 || m_nLooks > 0; }
    // How many folders were opened for reading since the lister was made.
    int ListingsStarted() const { return m_nStarted; }
    // The calls still to come are given up, and the worker is waited for.
    void Shutdown();

Q_SIGNALS:
    // The folder was opened: `folder` is its identity as listed.
    void Opened(quint64 ticket, const CListedFolder& folder);
    void Batch(quint64 ticket, const ListedEntries& entries);
    // The reading ended; bOk false when the folder could not be opened or read whole.
    void Finished(quint64 ticket, bool bOk);
    void SubFolderKnown(const QByteArray& path, bool bHas);
    void Looked(quint64 ticket, const ListedEntries& found);

private:
    struct Job;
    void Run(const std::shared_ptr<Job>& job) const;
    void OnOpened(const std::shared_ptr<Job>& job, const CListedFolder& folder, bool bRemote);
    static ListedEntries LookUp(const QByteArray& dir, const QList<QByteArray>& names,
                                bool bHidden);
    void OnBatch(const std::shared_ptr<Job>& job, const ListedEntries& entries);
    void OnFinished(const std::shared_ptr<Job>& job, bool bOk);
    void Remember(const QByteArray& path, bool bHas);

    QThreadPool m_pool;
    QHash<QByteArray, std::shared_ptr<Job>> m_running; // by path
    QHash<quint64, std::shared_ptr<Job>> m_tickets;
    QHash<QByteArray, bool> m_subFolders; // what is known of folders listed or probed
    QSet<QByteArray> m_remote;            // folders found on a remote file system
    QSet<QByteArray> m_marked;            // folders counted as remote all the same
    quint64 m_nNextTicket = 1;
    int m_nBatch = 128;
    bool m_bFixedBatch = false;
    int m_nStarted = 0;
    int m_nProbes = 0; // asked, not answered yet
    int m_nLooks = 0;  // the same for look-ups
    int m_nRelistMs = 3000;
};

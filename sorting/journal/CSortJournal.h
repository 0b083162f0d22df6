#pragma once

#include "sorting/journal/CJournalFlusher.h"
#include "sorting/journal/SortRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

// The journal of sort actions on disk: an append-only file of lines, each line a change of
// one action (announced, done, failed, undone, redone). A line is written and flushed
// before the file operation it announces starts, so the journal outlives any crash. A torn
// last line is cut off when the journal is opened; a damaged line elsewhere is passed over
// (and the action it belonged to is marked damaged), and reading goes on after it. The
// oldest actions are dropped once there are more than the limit. The file and the
// temporary of its compaction are never reached through a link: a journal that is not an
// ordinary file of the user's own is set aside and a new one started.
class CSortJournal {
public:
    // $XDG_STATE_HOME/Ostlewin/Vantrel, or ~/.local/state/Ostlewin/Vantrel.
    static QByteArray DefaultFolder();

    explicit CSortJournal(QByteArray folder, int nLimit = 10000);
    ~CSortJournal();
    CSortJournal(const CSortJournal&) = delete;
    CSortJournal& operator=(const CSortJournal&) = delete;

    // Makes the folder, reads the journal and takes the file for writing; false when the
    // journal cannot be kept (Error() says why). Records read so far stay usable.
    bool Open();
    bool IsOpen() const { return m_fd >= 0; }
    QString Error() const { return m_strError; }
    QByteArray FilePath() const;
    // The bytes of a torn last line cut off when the journal was opened.
    qint64 DamagedBytes() const { return m_nDamaged; }
    // The lines passed over as damaged or out of place when the journal was opened.
    int SkippedLines() const { return m_nSkipped; }
    // What the user should be told once about the journal (it was set aside), else empty.
    QString Notice() const { return m_strNotice; }

    const QList<SortRecord>& Records() const { return m_records; }
    quint64 NextSeq() const { return m_records.isEmpty() ? 1 : m_records.last().seq + 1; }

    // Writes a line, then applies it to the records. With bDurable the line is also put on
    // the disk: by a flush of its own thread, or at once when synchronous. False when it
    // could not be written: the journal is closed and Error() says why.
    bool Write(const QByteArray& line, bool bDurable);
    // Flushes in the caller's thread: each durable line waits until it is on the disk.
    void SetSynchronous(bool bSynchronous) { m_bSynchronous = bSynchronous; }
    // Returns once every durable line written so far is on the disk.
    void WaitFlushed();

    // The name a journal that is not ours is set aside under.
    static QByteArray SetAsideName(int n);

private:
    bool OpenFolder();
    int OpenFile();
    bool SetAside(const QString& why);
    void Read(const QByteArray& data);
    bool Compact();
    int WriteCompacted(const QByteArray& data);
    static QByteArray LinesOf(const SortRecord& r);
    bool Fail(const QString& what, int error);

    QByteArray m_folder;
    int m_nLimit;
    int m_dirFd = -1;
    int m_fd = -1;
    qint64 m_nDamaged = 0;
    int m_nSkipped = 0;
    QString m_strNotice;
    qint64 m_nGood = 0; // bytes of whole, sound lines at the start of the file
    QList<SortRecord> m_records;
    QString m_strError;
    bool m_bSynchronous = false;
    std::unique_ptr<CJournalFlusher> m_flusher;
};

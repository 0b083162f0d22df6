#pragma once

#include "sorting/CJournalFlusher.h"
#include "sorting/SortRecord.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

// The journal of sort actions on disk: an append-only file of lines, each line a change of
// one action (announced, done, failed, undone, redone). A line is written and flushed
// before the file operation it announces starts, so the journal outlives any crash; a
// damaged or torn tail is cut off when the journal is opened, and the oldest actions are
// dropped once there are more than the limit.
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
    // The bytes cut off as damaged when the journal was opened.
    qint64 DamagedBytes() const { return m_nDamaged; }

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

private:
    void Read(const QByteArray& data);
    bool Compact();
    static QByteArray LinesOf(const SortRecord& r);
    bool Fail(const QString& what, int error);

    QByteArray m_folder;
    int m_nLimit;
    int m_fd = -1;
    qint64 m_nDamaged = 0;
    qint64 m_nGood = 0; // bytes of whole, sound lines at the start of the file
    QList<SortRecord> m_records;
    QString m_strError;
    bool m_bSynchronous = false;
    std::unique_ptr<CJournalFlusher> m_flusher;
};

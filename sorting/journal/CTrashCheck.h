#pragma once

#include "sorting/journal/SortRecord.h"

#include <QObject>
#include <QSet>
#include <QThreadPool>

// Whether a trash action can still be offered for undo, without a file-system call on the
// GUI thread: the trash (on a share, the share's own) is looked into on a thread of its own,
// and a file found gone from it is remembered until it is found back. Until then the file
// counts as in the trash; the undo itself looks again before it touches anything.
class CTrashCheck : public QObject {
    Q_OBJECT
public:
    explicit CTrashCheck(QObject* parent = nullptr);
    ~CTrashCheck() override; // waits for a look under way

    // The undo offer for `record` from what is known: not a delete outright nor damaged,
    // something of it reached its target, and no trashed file of it found gone.
    bool LooksUndoable(const SortRecord& record) const;
    // Looks again, on the checker's thread, whether a trash action's file is in the trash;
    // Changed follows when the answer differs from the one known.
    void Check(const SortRecord& record);

Q_SIGNALS:
    void Changed();

private:
    void Found(quint64 seq, bool bGone);

    QSet<quint64> m_gone;
    QThreadPool m_pool;
};

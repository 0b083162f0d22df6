#include "sorting/journal/CTrashCheck.h"

#include "sorting/journal/CUndoHistory.h"

CTrashCheck::CTrashCheck(QObject* parent) : QObject(parent) {
    m_pool.setMaxThreadCount(1);
    m_pool.setExpiryTimeout(5000);
}

CTrashCheck::~CTrashCheck() {
    m_pool.clear();
    m_pool.waitForDone();
}

bool CTrashCheck::LooksUndoable(const SortRecord& record) const {
    return CUndoHistory::CanBeUndone(record, false) && !m_gone.contains(record.seq);
}

void CTrashCheck::Check(const SortRecord& record) {
    if (record.kind != CFileAction::Kind::Trash || !CUndoHistory::CanBeUndone(record, false))
        return;
    m_pool.start([this, record] {
        const bool bGone = !CUndoHistory::CanBeUndone(record);
        QMetaObject::invokeMethod(
            this, [this, seq = record.seq, bGone] { Found(seq, bGone); }, Qt::QueuedConnection);
    });
}

void CTrashCheck::Found(quint64 seq, bool bGone) {
    if (bGone == m_gone.contains(seq))
        return;
    if (bGone)
        m_gone.insert(seq);
    else
        m_gone.remove(seq);
    Q_EMIT Changed();
}

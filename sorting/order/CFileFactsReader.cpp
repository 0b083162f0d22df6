#include "sorting/order/CFileFactsReader.h"

#include "picture/load/CDateTakenReader.h"

#include <QFile>
#include <QPointer>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using picture_order::SFileFacts;

CFileFactsReader::CFileFactsReader(QObject* parent)
    : QObject(parent), m_cancel(std::make_shared<std::atomic<bool>>(false)) {
    m_pool.setMaxThreadCount(2);
}

CFileFactsReader::~CFileFactsReader() {
    Cancel();
    m_pool.waitForDone();
}

void CFileFactsReader::Cancel() {
    m_cancel->store(true);
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    ++m_generation;
    m_nPending = 0;
}

void CFileFactsReader::Read(const QByteArray& folder, const QList<QByteArray>& names, bool bTaken) {
    Cancel();
    const quint64 generation = m_generation;
    for (qsizetype at = 0; at < names.size(); at += kBatch) {
        const QList<QByteArray> batch = names.mid(at, kBatch);
        ++m_nPending;
        m_pool.start([this, folder, batch, bTaken, generation, cancel = m_cancel] {
            YieldToInterface();
            const Batch read = ReadBatch(folder, batch, bTaken, *cancel);
            if (cancel->load())
                return;
            QMetaObject::invokeMethod(
                this, [this, generation, read] { Deliver(generation, read); },
                Qt::QueuedConnection);
        });
    }
    if (m_nPending == 0)
        Q_EMIT Finished();
}

// Background work: the reading threads stand back for the interface thread and the
// decoding of the picture on show (a nice value of their own; never idle-only, which a busy
// machine could starve).
void CFileFactsReader::YieldToInterface() {
    static constexpr int kNice = 5;
    const auto tid = id_t(::syscall(SYS_gettid));
    if (::getpriority(PRIO_PROCESS, tid) < kNice)
        ::setpriority(PRIO_PROCESS, tid, kNice);
}

void CFileFactsReader::Deliver(quint64 generation, const Batch& batch) {
    if (generation != m_generation)
        return;
    Q_EMIT BatchRead(batch);
    if (--m_nPending == 0)
        Q_EMIT Finished();
}

// Files that cannot be read are known as read, with nothing: they stay where their name
// puts them among the others without facts.
CFileFactsReader::Batch CFileFactsReader::ReadBatch(const QByteArray& folder,
                                                    const QList<QByteArray>& names, bool bTaken,
                                                    const std::atomic<bool>& cancel) {
    Batch batch;
    QList<QString> paths;
    for (const QByteArray& name : names) {
        if (cancel.load())
            return {};
        const QByteArray path = folder + '/' + name;
        SFileFacts facts;
        facts.bRead = true;
        struct stat st {};
        if (::stat(path.constData(), &st) == 0) {
            facts.size = qint64(st.st_size);
            facts.modified = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
        }
        batch.append({name, facts});
        paths.append(QFile::decodeName(path));
    }
    if (!bTaken)
        return batch;
    const QList<QDateTime> taken = CDateTakenReader::Read(paths, &cancel);
    for (qsizetype i = 0; i < batch.size() && i < taken.size(); ++i) {
        SFileFacts& facts = batch[i].second;
        facts.bTakenRead = true;
        facts.bHasTaken = taken[i].isValid();
        if (facts.bHasTaken)
            facts.taken = taken[i].toMSecsSinceEpoch();
    }
    return batch;
}

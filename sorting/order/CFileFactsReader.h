#pragma once

#include "sorting/order/PictureOrder.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QThreadPool>
#include <atomic>
#include <memory>

// Reads what the orders need of a folder's files (size and time, and the date taken when
// asked) on worker threads, in batches, and hands each batch back on the thread it lives
// on. A new reading replaces the one under way: whatever that one still finds is dropped.
class CFileFactsReader : public QObject {
    Q_OBJECT
public:
    using Batch = QList<QPair<QByteArray, picture_order::SFileFacts>>;

    explicit CFileFactsReader(QObject* parent = nullptr);
    ~CFileFactsReader() override;

    // Reads the files `names` of `folder` (native paths), the date taken too with bTaken.
    void Read(const QByteArray& folder, const QList<QByteArray>& names, bool bTaken);
    // Drops the reading under way.
    void Cancel();
    // Whether batches are still to come.
    bool IsReading() const { return m_nPending > 0; }

    // How many names one batch reads.
    static constexpr int kBatch = 250;

Q_SIGNALS:
    // The facts of one batch of names.
    void BatchRead(const CFileFactsReader::Batch& batch);
    // Every batch of the reading was handed over.
    void Finished();

private:
    static Batch ReadBatch(const QByteArray& folder, const QList<QByteArray>& names, bool bTaken,
                           const std::atomic<bool>& cancel);
    void Deliver(quint64 generation, const Batch& batch);
    static void YieldToInterface();

    QThreadPool m_pool;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    quint64 m_generation = 0;
    int m_nPending = 0;
};

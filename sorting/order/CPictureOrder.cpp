#include "sorting/order/CPictureOrder.h"

#include "sorting/order/CFileFactsReader.h"

using picture_order::SFileFacts;

namespace {
constexpr int kSettleMs = 150; // batches arriving within this make one new sort
} // namespace

CPictureOrder::CPictureOrder(QObject* parent)
    : QObject(parent), m_pReader(new CFileFactsReader(this)) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &CPictureOrder::Changed);
    connect(m_pReader, &CFileFactsReader::BatchRead, this, &CPictureOrder::Learn);
    connect(m_pReader, &CFileFactsReader::Finished, this, [this] {
        m_settle.stop();
        Q_EMIT Changed(); // the last facts at once
    });
}

CPictureOrder::~CPictureOrder() = default;

void CPictureOrder::SetSortBy(SortBy by, bool bDescending) {
    if (by == m_by && bDescending == m_bDescending)
        return;
    m_by = by;
    m_bDescending = bDescending;
    Q_EMIT Changed();
    ReadMissing();
}

void CPictureOrder::Follow(const QByteArray& folder, const QList<QByteArray>& names) {
    if (folder != m_folder) {
        m_pReader->Cancel();
        m_facts.clear();
        m_folder = folder;
    }
    m_names = names;
    ReadMissing();
}

bool CPictureOrder::IsReading() const {
    return m_pReader->IsReading();
}

void CPictureOrder::ReadMissing() {
    QList<QByteArray> missing;
    for (const QByteArray& name : std::as_const(m_names)) {
        const auto it = m_facts.constFind(name);
        if (picture_order::NeedsReading(m_by, it == m_facts.cend() ? nullptr : &*it))
            missing.append(name);
    }
    if (!missing.isEmpty() && !m_folder.isEmpty())
        m_pReader->Read(m_folder, missing, m_by == SortBy::DateTaken);
}

void CPictureOrder::Learn(const QList<QPair<QByteArray, SFileFacts>>& batch) {
    for (const auto& [name, facts] : batch) {
        SFileFacts& known = m_facts[name];
        const bool bTakenKnown = known.bTakenRead && !facts.bTakenRead;
        const SFileFacts before = known;
        known = facts;
        if (bTakenKnown) { // a reading without dates keeps the dates read before
            known.bTakenRead = true;
            known.bHasTaken = before.bHasTaken;
            known.taken = before.taken;
        }
    }
    if (!m_settle.isActive())
        m_settle.start();
}

std::vector<int> CPictureOrder::Arrange(const std::vector<QByteArrayView>& namesByName) const {
    std::vector<picture_order::SEntry> entries;
    entries.reserve(namesByName.size());
    for (const QByteArrayView name : namesByName) {
        const auto it = m_facts.constFind(QByteArray::fromRawData(name.data(), name.size()));
        entries.push_back({name, it == m_facts.cend() ? nullptr : &*it});
    }
    return picture_order::Arrange(entries, m_by, m_bDescending);
}

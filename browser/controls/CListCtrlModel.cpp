#include "browser/controls/CListCtrlModel.h"

#include "platform/shell/CSystemImageList.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {
constexpr qsizetype kFreedPerTurn = 4096;
} // namespace

CListCtrlModel::~CListCtrlModel() {
    FreeRows();
    FreeRetired(m_retired.size());
}

void CListCtrlModel::FreeRows() {
    if (m_deleter)
        for (const Row& row : std::as_const(m_rows))
            if (row.lParam)
                m_deleter(row.lParam);
    m_rows.clear();
}

void CListCtrlModel::SetImageList(CSystemImageList* imageList) {
    beginResetModel();
    m_pImageList = imageList;
    endResetModel();
}

int CListCtrlModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

QVariant CListCtrlModel::data(const QModelIndex& index, int role) const {
    if (!IsValid(index.row()))
        return QVariant();
    const Row& row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return row.text;
    case Qt::DecorationRole:
        return m_pImageList && row.image >= 0 ? QVariant(m_pImageList->Icon(row.image))
                                              : QVariant();
    case Qt::SizeHintRole:
        return m_itemSize.isValid() ? QVariant(m_itemSize) : QVariant();
    default:
        return QVariant();
    }
}

Qt::ItemFlags CListCtrlModel::flags(const QModelIndex& index) const {
    if (!IsValid(index.row()))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

int CListCtrlModel::InsertItem(int nItem, const QString& text, int nImage, quintptr lParam,
                               const QByteArray& native) {
    nItem = std::clamp(nItem, 0, Count());
    if (!m_nBatch)
        beginInsertRows(QModelIndex(), nItem, nItem);
    m_rows.insert(nItem, Row{text, nImage, lParam, native});
    if (!m_nBatch)
        endInsertRows();
    return nItem;
}

bool CListCtrlModel::DeleteItem(int nItem) {
    if (!IsValid(nItem))
        return false;
    if (!m_nBatch)
        beginRemoveRows(QModelIndex(), nItem, nItem);
    const quintptr lParam = m_rows[nItem].lParam;
    m_rows.remove(nItem);
    if (m_deleter && lParam)
        m_deleter(lParam);
    if (!m_nBatch)
        endRemoveRows();
    return true;
}

quintptr CListCtrlModel::TakeItem(int nItem) {
    if (!IsValid(nItem))
        return 0;
    const quintptr lParam = m_rows[nItem].lParam;
    m_rows[nItem].lParam = 0;
    DeleteItem(nItem);
    return lParam;
}

void CListCtrlModel::FreeItemData(quintptr lParam) const {
    if (m_deleter && lParam)
        m_deleter(lParam);
}

void CListCtrlModel::DeleteAllItems() {
    if (!m_nBatch)
        beginResetModel();
    FreeRows();
    FreeRetired(m_retired.size());
    if (!m_nBatch)
        endResetModel();
}

void CListCtrlModel::RetireAllItems() {
    if (!m_nBatch)
        beginResetModel();
    if (m_retired.isEmpty())
        m_retired.swap(m_rows);
    else
        m_retired.append(std::exchange(m_rows, {}));
    if (!m_nBatch)
        endResetModel();
    PostFreeTurn();
}

void CListCtrlModel::HoldFreeing(bool bHold) {
    m_bFreeingHeld = bHold;
    PostFreeTurn();
}

void CListCtrlModel::PostFreeTurn() {
    if (m_retired.isEmpty() || m_bFreePosted || m_bFreeingHeld)
        return;
    m_bFreePosted = true;
    QMetaObject::invokeMethod(this, &CListCtrlModel::FreeRetiredTurn, Qt::QueuedConnection);
}

void CListCtrlModel::FreeRetiredTurn() {
    m_bFreePosted = false;
    if (m_bFreeingHeld)
        return; // posted before the hold; the release posts again
    FreeRetired(kFreedPerTurn);
    PostFreeTurn();
}

void CListCtrlModel::FreeRetired(qsizetype nMost) {
    for (qsizetype i = 0; i < nMost && !m_retired.isEmpty(); ++i) {
        if (m_deleter && m_retired.last().lParam)
            m_deleter(m_retired.last().lParam);
        m_retired.removeLast();
    }
    if (m_retired.isEmpty())
        m_retired = QList<Row>(); // its block too
}

bool CListCtrlModel::SetItemText(int nItem, const QString& text) {
    if (!IsValid(nItem))
        return false;
    m_rows[nItem].text = text;
    if (!m_nBatch)
        Q_EMIT dataChanged(index(nItem), index(nItem), {Qt::DisplayRole, Qt::ToolTipRole});
    return true;
}

QString CListCtrlModel::ItemText(int nItem) const {
    return IsValid(nItem) ? m_rows[nItem].text : QString();
}

int CListCtrlModel::ItemImage(int nItem) const {
    return IsValid(nItem) ? m_rows[nItem].image : -1;
}

quintptr CListCtrlModel::ItemData(int nItem) const {
    return IsValid(nItem) ? m_rows[nItem].lParam : 0;
}

QByteArray CListCtrlModel::ItemNative(int nItem) const {
    return IsValid(nItem) ? m_rows[nItem].native : QByteArray();
}

int CListCtrlModel::FindNative(const QByteArray& native) const {
    if (native.isEmpty())
        return -1;
    for (int i = 0; i < Count(); ++i)
        if (m_rows[i].native == native)
            return i;
    return -1;
}

std::vector<int> CListCtrlModel::SortedOrder(Compare compare, quintptr lParamSort,
                                             SortKey sortKey) const {
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    if (!sortKey) {
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return compare(m_rows[a].lParam, m_rows[b].lParam, lParamSort) < 0;
        });
        return order;
    }
    // All keys back to back in one block, so comparing them stays within the cache.
    QByteArray keys;
    std::vector<qsizetype> start(m_rows.size() + 1);
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        start[i] = keys.size();
        sortKey(m_rows[i].lParam, keys);
    }
    start[m_rows.size()] = keys.size();
    const char* data = keys.constData();
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const QByteArrayView ka(data + start[a], start[a + 1] - start[a]);
        const QByteArrayView kb(data + start[b], start[b + 1] - start[b]);
        if (const int r = ka.compare(kb))
            return r < 0;
        return compare(m_rows[a].lParam, m_rows[b].lParam, lParamSort) < 0;
    });
    return order;
}

void CListCtrlModel::SortItems(Compare compare, quintptr lParamSort, SortKey sortKey) {
    ApplyOrder(SortedOrder(compare, lParamSort, sortKey));
}

bool CListCtrlModel::IsPermutation(const std::vector<int>& order) const {
    if (order.size() != std::size_t(m_rows.size()))
        return false;
    std::vector<bool> seen(order.size());
    for (int row : order) {
        if (row < 0 || std::size_t(row) >= order.size() || seen[row])
            return false;
        seen[row] = true;
    }
    return true;
}

// Whether the rows before nKept appear in the order in their own order.
bool CListCtrlModel::KeepsOrder(const std::vector<int>& order, int nKept) {
    int next = 0;
    for (int row : order)
        if (row < nKept && row != next++)
            return false;
    return nKept > 0;
}

// The rows after nKept are taken out in their new order, then every place is filled from
// the last: a kept row only ever moves towards the end, so its place is filled once it has
// moved. Nothing as large as the list is allocated, and the kept rows are read in order.
void CListCtrlModel::MergeInPlace(const std::vector<int>& order, int nKept) {
    std::vector<Row> added;
    added.reserve(order.size() - std::size_t(nKept));
    for (int row : order)
        if (row >= nKept)
            added.push_back(std::move(m_rows[row]));
    for (std::size_t i = order.size(); i-- > 0;) {
        if (order[i] >= nKept) {
            m_rows[qsizetype(i)] = std::move(added.back());
            added.pop_back();
        } else if (std::size_t(order[i]) != i) {
            m_rows[qsizetype(i)] = std::move(m_rows[order[i]]);
        }
    }
}

void CListCtrlModel::ApplyOrder(const std::vector<int>& order, int nKept) {
    if (!IsPermutation(order))
        return;
    if (!m_nBatch)
        Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    if (KeepsOrder(order, nKept)) {
        MergeInPlace(order, nKept);
    } else {
        QList<Row> sorted;
        sorted.reserve(m_rows.size());
        for (int row : order)
            sorted.append(std::move(m_rows[row]));
        m_rows = std::move(sorted);
    }
    if (m_nBatch)
        return;
    std::vector<int> newRow(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        newRow[order[i]] = int(i);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& idx : from)
        to.append(index(newRow[idx.row()]));
    changePersistentIndexList(from, to);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void CListCtrlModel::BeginBatch() {
    if (m_nBatch++ == 0)
        beginResetModel();
}

void CListCtrlModel::EndBatch() {
    if (m_nBatch > 0 && --m_nBatch == 0)
        endResetModel();
}

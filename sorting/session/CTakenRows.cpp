#include "sorting/session/CTakenRows.h"

#include "browser/controls/CListCtrlModel.h"

#include <algorithm>

CTakenRows::~CTakenRows() {
    for (const Row& row : std::as_const(m_rows))
        m_model.FreeItemData(row.lParam);
}

void CTakenRows::Take(int n) {
    if (n < 0 || n >= m_model.Count())
        return;
    Row row;
    row.native = m_model.ItemNative(n);
    row.text = m_model.ItemText(n);
    row.image = m_model.ItemImage(n);
    row.before = m_model.ItemNative(n - 1);
    row.after = m_model.ItemNative(n + 1);
    row.at = n;
    row.lParam = m_model.TakeItem(n);
    m_rows.append(row);
}

qsizetype CTakenRows::Find(const QByteArray& file) const {
    for (qsizetype i = 0; i < m_rows.size(); ++i)
        if (m_rows.at(i).native == file)
            return i;
    return -1;
}

void CTakenRows::Drop(const QByteArray& file) {
    if (const qsizetype i = Find(file); i >= 0)
        m_model.FreeItemData(m_rows.takeAt(i).lParam);
}

int CTakenRows::PutBack(const QByteArray& file) {
    const qsizetype i = Find(file);
    if (i < 0)
        return -1;
    const Row row = m_rows.takeAt(i);
    if (m_model.FindNative(row.native) >= 0) {
        m_model.FreeItemData(row.lParam);
        return -1;
    }
    return m_model.InsertItem(PlaceFor(row), row.text, row.image, row.lParam, row.native);
}

int CTakenRows::PlaceFor(const Row& row) const {
    if (const int before = row.before.isEmpty() ? -1 : m_model.FindNative(row.before); before >= 0)
        return before + 1;
    if (const int after = row.after.isEmpty() ? -1 : m_model.FindNative(row.after); after >= 0)
        return after;
    return std::clamp(row.at, 0, m_model.Count());
}

QList<QByteArray> CTakenRows::Files() const {
    QList<QByteArray> files;
    for (const Row& row : m_rows)
        files.append(row.native);
    return files;
}

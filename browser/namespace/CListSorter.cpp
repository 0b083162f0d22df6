#include "browser/namespace/CListSorter.h"

#include "browser/controls/CItemOrder.h"
#include "browser/controls/CListCtrlModel.h"
#include "platform/shell/CShellFolder.h"
#include "platform/shell/CShellItemId.h"

#include <utility>

namespace {
const NSLISTITEM* RecordOf(quintptr lParam) {
    return reinterpret_cast<const NSLISTITEM*>(lParam);
}
} // namespace

int CListSorter::CompareByName(quintptr lParam1, quintptr lParam2, quintptr) {
    const NSLISTITEM* p1 = RecordOf(lParam1);
    const NSLISTITEM* p2 = RecordOf(lParam2);
    return p1->psfParent->CompareIDs(0, p1->pidlRel, p2->pidlRel);
}

void CListSorter::NameKeyOf(quintptr lParam, QByteArray& keys) {
    const NSLISTITEM* rec = RecordOf(lParam);
    rec->psfParent->AppendSortKey(rec->pidlRel, keys);
}

void CListSorter::Sort() {
    m_keys.Clear();
    std::vector<int> byName = m_rows.SortedOrder(&CompareByName, 0, &NameKeyOf);
    if (m_pOrder) {
        std::vector<QByteArrayView> names;
        names.reserve(byName.size());
        for (int row : byName)
            names.push_back(CShellItemId::BytesOf(RecordOf(m_rows.ItemData(row))->pidlRel));
        const std::vector<int> places = m_pOrder->Arrange(names);
        if (places.size() == byName.size()) {
            std::vector<int> order(places.size());
            for (std::size_t i = 0; i < places.size(); ++i)
                order[i] = byName[std::size_t(places[i])];
            byName = std::move(order);
        }
    }
    m_rows.ApplyOrder(byName); // refused whole when the order was no permutation
}

void CListSorter::SortAppended(int nSorted, const std::vector<QByteArrayView>& keys) {
    const int n = m_rows.Count();
    if (m_pOrder || (nSorted <= 0 && keys.empty())) {
        Sort();
        return;
    }
    if (nSorted >= n)
        return;
    const std::vector<int> order = m_keys.MergeAppended(m_rows, nSorted, keys);
    m_rows.ApplyOrder(order, nSorted);
}

int CListSorter::PlaceOf(const NSLISTITEM* rec) const {
    if (!m_pOrder)
        return PlaceByName(rec);
    return IsListed(rec) ? -1 : m_rows.Count();
}

// The first place whose item the listed folder orders after `rec`; -1 when an item of the
// same name is there already.
int CListSorter::PlaceByName(const NSLISTITEM* rec) const {
    int lo = 0, hi = m_rows.Count();
    const auto key = reinterpret_cast<quintptr>(rec);
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (CompareByName(m_rows.ItemData(mid), key, 0) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    for (int i = lo; i < m_rows.Count() && CompareByName(m_rows.ItemData(i), key, 0) == 0; ++i)
        if (CShellItemId::BytesOf(RecordOf(m_rows.ItemData(i))->pidlRel) ==
            CShellItemId::BytesOf(rec->pidlRel))
            return -1;
    return lo;
}

bool CListSorter::IsListed(const NSLISTITEM* rec) const {
    const QByteArrayView name = CShellItemId::BytesOf(rec->pidlRel);
    for (int i = 0; i < m_rows.Count(); ++i)
        if (const NSLISTITEM* listed = RecordOf(m_rows.ItemData(i)))
            if (CShellItemId::BytesOf(listed->pidlRel) == name)
                return true;
    return false;
}

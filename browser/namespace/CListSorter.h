#pragma once

#include "browser/controls/NamespaceRecords.h"
#include "browser/namespace/CSortedKeys.h"

#include <QByteArray>
#include <vector>

class CItemOrder;
class CListCtrlModel;

// Keeps the rows of a file list in order: the listed folder's order by name, or, when an
// order is set, that order over the names (a list by date taken, say). New items find
// their place by name; under another order they go last until the list is sorted again.
class CListSorter {
public:
    explicit CListSorter(CListCtrlModel& rows) : m_rows(rows), m_keys(&NameKeyOf, &CompareByName) {}

    // The order to show (not owned; null: by name).
    void SetOrder(const CItemOrder* order) { m_pOrder = order; }
    const CItemOrder* Order() const { return m_pOrder; }

    // Sorts every row.
    void Sort();
    // Sorts the rows from nSorted on, appended after rows in order, in among them: by name a
    // merge, which never moves the rows before it out of their order; under an order set,
    // every row is sorted again. `keys` may give the appended rows' keys (see CSortedKeys).
    void SortAppended(int nSorted, const std::vector<QByteArrayView>& keys = {});
    // Where an item of record `rec` goes; -1 when an item of the same name is listed already.
    int PlaceOf(const NSLISTITEM* rec) const;

    // The listed folder's order of two item records (negative: the first comes first).
    static int CompareByName(quintptr lParam1, quintptr lParam2, quintptr lParamSort);

private:
    static void NameKeyOf(quintptr lParam, QByteArray& keys);
    int PlaceByName(const NSLISTITEM* rec) const;
    bool IsListed(const NSLISTITEM* rec) const;

    CListCtrlModel& m_rows;
    const CItemOrder* m_pOrder = nullptr;
    CSortedKeys m_keys; // of the rows merged so far while a folder is listed
};

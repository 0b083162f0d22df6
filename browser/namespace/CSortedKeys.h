#pragma once

#include "browser/controls/CListCtrlModel.h"

#include <QByteArray>
#include <vector>

// The sort keys of a list's leading rows in their order, kept from one batch of a folder's
// listing to the next: a batch is merged in by comparing keys, with no name compared again
// except where two keys are equal. Keys of rows changed meanwhile (an item added or removed
// by someone else) are made afresh.
class CSortedKeys {
public:
    using KeyOf = CListCtrlModel::SortKey;
    using Compare = CListCtrlModel::Compare;

    CSortedKeys(KeyOf keyOf, Compare compare) : m_keyOf(keyOf), m_compare(compare) {}

    void Clear();
    // The order of all rows: the first nSorted (already in order) keep their order, and the
    // rows after them are sorted in among them. Keeps the keys of that order for next time.
    // `given` holds the keys of the rows after nSorted when they were made already (by the
    // reading's worker), one for each; otherwise they are made here.
    std::vector<int> MergeAppended(const CListCtrlModel& rows, int nSorted,
                                   const std::vector<QByteArrayView>& given = {});

private:
    struct SKeys {
        std::vector<quintptr> params; // each row's item data, in order
        QByteArray bytes;             // the keys back to back
        std::vector<qsizetype> start; // where each key starts, and one past the last
        QByteArrayView Key(std::size_t i) const;
        void Append(quintptr lParam, QByteArrayView key);
    };
    bool Holds(const CListCtrlModel& rows, int nSorted) const;
    SKeys KeysOf(const CListCtrlModel& rows, int from, int to) const;
    static SKeys KeysGiven(const CListCtrlModel& rows, int from,
                           const std::vector<QByteArrayView>& given);
    bool Less(const SKeys& a, std::size_t i, const SKeys& b, std::size_t j) const;

    KeyOf m_keyOf;
    Compare m_compare;
    SKeys m_sorted;
};

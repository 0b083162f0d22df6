#include "sorting/order/PictureOrder.h"

#include <QByteArray>

#include <algorithm>

namespace picture_order {
namespace {

// The ending after the last dot, in lower case (ASCII); empty without one.
QByteArray TypeKey(QByteArrayView name) {
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QByteArray() : name.sliced(dot + 1).toByteArray().toLower();
}

template <class Key>
void SortByKey(std::vector<int>& rows, const std::vector<SEntry>& entries, Key key) {
    std::stable_sort(rows.begin(), rows.end(),
                     [&](int a, int b) { return key(entries[a]) < key(entries[b]); });
}

// Dated pictures by the moment taken; undated ones in name order, each placed by its
// file's time among the dated; equal times in name order.
std::vector<int> ByDateTaken(const std::vector<int>& rows, const std::vector<SEntry>& entries) {
    std::vector<int> dated, undated;
    for (int row : rows)
        (entries[row].facts->bHasTaken ? dated : undated).push_back(row);
    SortByKey(dated, entries, [](const SEntry& e) { return e.facts->taken; });
    const auto when = [&](int row) {
        const SFileFacts& f = *entries[row].facts;
        return f.bHasTaken ? f.taken : f.modified;
    };
    std::vector<int> merged;
    merged.reserve(rows.size());
    std::size_t d = 0, u = 0;
    while (d < dated.size() && u < undated.size()) {
        const qint64 td = when(dated[d]), tu = when(undated[u]);
        const bool datedFirst = td < tu || (td == tu && dated[d] < undated[u]);
        merged.push_back(datedFirst ? dated[d++] : undated[u++]);
    }
    merged.insert(merged.end(), dated.begin() + qsizetype(d), dated.end());
    merged.insert(merged.end(), undated.begin() + qsizetype(u), undated.end());
    return merged;
}

std::vector<int> ByKnownFacts(std::vector<int> rows, const std::vector<SEntry>& entries,
                              SortBy by) {
    switch (by) {
    case SortBy::Name:
        break;
    case SortBy::DateTaken:
        return ByDateTaken(rows, entries);
    case SortBy::DateModified:
        SortByKey(rows, entries, [](const SEntry& e) { return e.facts->modified; });
        break;
    case SortBy::Size:
        SortByKey(rows, entries, [](const SEntry& e) { return e.facts->size; });
        break;
    case SortBy::Type: {
        std::vector<QByteArray> keys(entries.size());
        for (int row : rows)
            keys[row] = TypeKey(entries[row].name);
        std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) { return keys[a] < keys[b]; });
        break;
    }
    }
    return rows;
}

} // namespace

bool NeedsReading(SortBy by, const SFileFacts* facts) {
    switch (by) {
    case SortBy::Name:
    case SortBy::Type:
        return false;
    case SortBy::DateModified:
    case SortBy::Size:
        return !facts || !facts->bRead;
    case SortBy::DateTaken:
        return !facts || !facts->bRead || !facts->bTakenRead;
    }
    return false;
}

std::vector<int> Arrange(const std::vector<SEntry>& byName, SortBy by, bool bDescending) {
    std::vector<int> known, unknown;
    for (int i = 0; i < int(byName.size()); ++i)
        (NeedsReading(by, byName[i].facts) ? unknown : known).push_back(i);
    std::vector<int> order = ByKnownFacts(std::move(known), byName, by);
    if (bDescending)
        std::reverse(order.begin(), order.end());
    order.insert(order.end(), unknown.begin(), unknown.end());
    return order;
}

} // namespace picture_order

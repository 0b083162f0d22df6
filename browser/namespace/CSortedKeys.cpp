#include "browser/namespace/CSortedKeys.h"

#include <algorithm>
#include <numeric>

QByteArrayView CSortedKeys::SKeys::Key(std::size_t i) const {
    return QByteArrayView(bytes.constData() + start[i], start[i + 1] - start[i]);
}

void CSortedKeys::SKeys::Append(quintptr lParam, QByteArrayView key) {
    if (start.empty())
        start.push_back(0);
    params.push_back(lParam);
    bytes.append(key);
    start.push_back(bytes.size());
}

void CSortedKeys::Clear() {
    m_sorted = SKeys();
}

bool CSortedKeys::Holds(const CListCtrlModel& rows, int nSorted) const {
    if (m_sorted.params.size() != std::size_t(nSorted))
        return false;
    for (int i = 0; i < nSorted; ++i)
        if (rows.ItemData(i) != m_sorted.params[std::size_t(i)])
            return false;
    return true;
}

CSortedKeys::SKeys CSortedKeys::KeysOf(const CListCtrlModel& rows, int from, int to) const {
    SKeys keys;
    keys.params.reserve(std::size_t(to - from));
    keys.start.reserve(std::size_t(to - from) + 1);
    keys.start.push_back(0);
    for (int i = from; i < to; ++i) {
        keys.params.push_back(rows.ItemData(i));
        m_keyOf(keys.params.back(), keys.bytes);
        keys.start.push_back(keys.bytes.size());
    }
    return keys;
}

CSortedKeys::SKeys CSortedKeys::KeysGiven(const CListCtrlModel& rows, int from,
                                          const std::vector<QByteArrayView>& given) {
    SKeys keys;
    keys.params.reserve(given.size());
    keys.start.reserve(given.size() + 1);
    keys.start.push_back(0);
    for (std::size_t i = 0; i < given.size(); ++i) {
        keys.params.push_back(rows.ItemData(from + int(i)));
        keys.bytes.append(given[i]);
        keys.start.push_back(keys.bytes.size());
    }
    return keys;
}

// Keys first; two equal keys are told apart by the names themselves.
bool CSortedKeys::Less(const SKeys& a, std::size_t i, const SKeys& b, std::size_t j) const {
    if (const int r = a.Key(i).compare(b.Key(j)))
        return r < 0;
    return m_compare(a.params[i], b.params[j], 0) < 0;
}

std::vector<int> CSortedKeys::MergeAppended(const CListCtrlModel& rows, int nSorted,
                                            const std::vector<QByteArrayView>& given) {
    const int n = rows.Count();
    if (!Holds(rows, nSorted))
        m_sorted = KeysOf(rows, 0, nSorted);
    const SKeys tail = given.size() == std::size_t(n - nSorted) ? KeysGiven(rows, nSorted, given)
                                                                : KeysOf(rows, nSorted, n);
    std::vector<std::size_t> byKey(tail.params.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::stable_sort(byKey.begin(), byKey.end(),
                     [&](std::size_t i, std::size_t j) { return Less(tail, i, tail, j); });
    std::vector<int> order;
    order.reserve(std::size_t(n));
    SKeys merged;
    merged.params.reserve(std::size_t(n));
    merged.start.reserve(std::size_t(n) + 1);
    merged.bytes.reserve(m_sorted.bytes.size() + tail.bytes.size());
    std::size_t h = 0, t = 0;
    while (h < m_sorted.params.size() || t < byKey.size()) {
        // A row already in place goes first among equals, as std::merge would have it.
        const bool bTail =
            t < byKey.size() && (h == m_sorted.params.size() || Less(tail, byKey[t], m_sorted, h));
        if (bTail) {
            order.push_back(nSorted + int(byKey[t]));
            merged.Append(tail.params[byKey[t]], tail.Key(byKey[t]));
            ++t;
        } else {
            order.push_back(int(h));
            merged.Append(m_sorted.params[h], m_sorted.Key(h));
            ++h;
        }
    }
    m_sorted = std::move(merged);
    return order;
}

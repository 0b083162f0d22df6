#pragma once

#include <QByteArrayView>
#include <vector>

// An order of a file list other than its folder's own order by name (a list sorted by the
// date its pictures were taken, say). The list hands it the names of its items in the
// folder's name order and shows them as it says.
class CItemOrder {
public:
    virtual ~CItemOrder() = default;
    // For each place of the list, the index into `namesByName` of the item that goes there:
    // a permutation of every index.
    virtual std::vector<int> Arrange(const std::vector<QByteArrayView>& namesByName) const = 0;

protected:
    CItemOrder() = default;
    CItemOrder(const CItemOrder&) = default;
    CItemOrder& operator=(const CItemOrder&) = default;
};

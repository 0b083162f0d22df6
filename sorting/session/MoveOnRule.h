#pragma once

#include <QList>

// Which item becomes current after the current file was moved, copied or deleted: the one
// now standing at the same place, the new last one at the end, none when the list is empty.
namespace move_on {

// After a move or delete: `current` was the item's index, `countAfter` items remain.
inline int AfterRemoval(int current, int countAfter) {
    if (countAfter <= 0)
        return -1;
    return current < countAfter - 1 ? current : countAfter - 1;
}

// After a copy (the item stays): the next item when the copy succeeded, the same otherwise.
inline int AfterCopy(int current, int count, bool bSucceeded) {
    return AfterRemoval(bSucceeded ? current + 1 : current, count);
}

// After a move or delete of several chosen rows: `chosen` their places before the action
// and `gone` those of every row that left (the chosen ones that went and any listed
// companions), both ascending, out of `countBefore` rows. Next is the first row left after
// the last chosen one, or else the nearest row left before the first chosen one, at its
// place after the removal. With nothing gone, `current` stays.
int AfterGroupRemoval(const QList<int>& chosen, const QList<int>& gone, int countBefore,
                      int current);

} // namespace move_on

#pragma once

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

} // namespace move_on

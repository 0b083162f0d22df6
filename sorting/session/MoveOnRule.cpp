#include "sorting/session/MoveOnRule.h"

#include <algorithm>

namespace move_on {

int AfterGroupRemoval(const QList<int>& chosen, const QList<int>& gone, int countBefore,
                      int current) {
    if (gone.isEmpty() || chosen.isEmpty())
        return current;
    const auto isGone = [&](int row) { return std::binary_search(gone.begin(), gone.end(), row); };
    const auto placeAfter = [&](int row) {
        return row - int(std::lower_bound(gone.begin(), gone.end(), row) - gone.begin());
    };
    for (int row = chosen.last() + 1; row < countBefore; ++row)
        if (!isGone(row))
            return placeAfter(row);
    for (int row = chosen.first() - 1; row >= 0; --row)
        if (!isGone(row))
            return placeAfter(row);
    // Only rows between the chosen ones are left.
    return AfterRemoval(placeAfter(chosen.first()), countBefore - int(gone.size()));
}

} // namespace move_on

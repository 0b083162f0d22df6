#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// The order in which names are shown: case-insensitive, with runs of digits compared as
// numbers, so that IMG_2 comes before IMG_10. Names that differ only in case or in
// leading zeros are ordered by their bytes, so the order is total and never depends on
// the order in which names were found.
class CNaturalCompare {
public:
    // Names as UTF-8 bytes (invalid sequences are allowed). Negative, 0 or positive.
    static int Compare(QByteArrayView a, QByteArrayView b);
    static int Compare(QStringView a, QStringView b);

    // Appends to `key` a byte string whose plain byte order (memcmp) is the order of
    // Compare for any two names that Compare does not find equal apart from their bytes:
    // the case-folded name in 16-bit big-endian units, each run of digits written as a
    // '0' unit, the count of its digits without leading zeros, and those digits. Sorting
    // by keys first is much faster for large folders than comparing names again and again.
    static void AppendSortKey(QByteArrayView name, QByteArray& key);
};

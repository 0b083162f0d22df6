#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <vector>

// The orders a picture list can be shown in, as plain arithmetic over what is known of each
// file. Pictures whose facts are not read yet come last, in name order, whatever the order.
namespace picture_order {

enum class SortBy { Name = 0, DateTaken, DateModified, Size, Type };
inline constexpr int kSortByCount = 5;

// What the orders need to know of one file; nothing until it was read.
struct SFileFacts {
    bool bRead = false;  // size and modification time
    qint64 modified = 0; // milliseconds since the epoch
    qint64 size = 0;
    bool bTakenRead = false; // the date taken was looked for
    bool bHasTaken = false;
    qint64 taken = 0; // the moment taken, milliseconds since the epoch
};

struct SEntry {
    QByteArrayView name;
    const SFileFacts* facts; // null: nothing known
};

// Whether ordering by `by` needs more of this file than is known.
bool NeedsReading(SortBy by, const SFileFacts* facts);
// For each place, the index into `byName` (the entries in the folder's name order) of the
// entry shown there. By date taken, a picture the camera did not date stands at its file's
// modification time, and such pictures keep their name order among themselves. Equal
// keys keep name order; descending reverses the whole order of the known entries.
std::vector<int> Arrange(const std::vector<SEntry>& byName, SortBy by, bool bDescending);

} // namespace picture_order

#pragma once

#include <QString>

class QWidget;

// Looks at a folder chosen as a destination (or a group's home) when it is chosen, not at
// the first sort: one that is not there is offered to be made, one that cannot be written
// to is said at once. The destination keeps the folder either way: a drive may be mounted
// later.
class CDestinationCheck {
public:
    enum class EState { Ready, Missing, NotAFolder, NotWritable };

    // What is at `dir` now; an empty path is Ready (no destination).
    static EState StateOf(const QString& dir);
    // Tells the user about `dir` (named by `what`, e.g. "destination 3, Keep") unless it is
    // ready; a missing folder is made, with its parents, when the user agrees. True when the
    // folder is ready afterwards.
    static bool Confirm(QWidget* owner, const QString& dir, const QString& what);
};

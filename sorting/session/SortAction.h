#pragma once

#include <QByteArray>
#include <QMetaType>

// One sort action on the current picture, as the sort session runs it: what is done, to
// which file, where to, and where the file stood in the list.
struct SortAction {
    enum class Kind { Move, Copy, Delete };

    Kind kind = Kind::Move;
    QByteArray file;      // the picture, as the system's bytes
    QByteArray destDir;   // Move and Copy: the destination folder
    bool bToTrash = true; // Delete: to the trash, or outright
    int index = -1;       // the picture's place in the list when the action began
};

Q_DECLARE_METATYPE(SortAction)

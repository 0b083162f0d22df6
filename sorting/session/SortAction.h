#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>

// One sort action, as the sort session runs it: what is done, to which pictures (the
// current one, or every selected one), where to, and where they stood in the list.
struct SortAction {
    enum class Kind { Move, Copy, Delete };

    Kind kind = Kind::Move;
    QByteArray file;         // the picture, as the system's bytes
    QByteArray destDir;      // Move and Copy: the destination folder
    bool bToTrash = true;    // Delete: to the trash, or outright
    int index = -1;          // the picture's place in the list when the action began
    QList<QByteArray> files; // every picture the action takes, in list order (file among them)
    QList<int> rows;         // their places in the list when the action began
};

Q_DECLARE_METATYPE(SortAction)

#pragma once

#include <QByteArray>
#include <QSet>

// The names of every entry of one folder (the pictures and whatever the file-type filter
// hides: sidecars, twins), as the file list's reading of the folder found them and its
// following of the folder keeps them. What a sort needs to know of the folder's other files
// is looked up here instead of on the disk.
struct SFolderNames {
    QByteArray folder; // the folder's native path
    QSet<QByteArray> names;
    bool bKnown = false; // false until a reading of `folder` filled `names`

    bool IsOf(const QByteArray& dir) const { return bKnown && dir == folder; }
    void Forget() {
        bKnown = false;
        folder.clear();
        names.clear();
    }
};

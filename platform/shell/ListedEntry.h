#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>

// One entry of a folder as a listing read it: its name, byte for byte, and its
// CShellItemId flags (folder, link). A folder's reading also gives its sort key, as the
// file-system folder orders its children (empty where none was made).
struct SListedEntry {
    QByteArray name;
    unsigned char flags = 0;
    QByteArray key;
};

using ListedEntries = QList<SListedEntry>;
Q_DECLARE_METATYPE(SListedEntry)

#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>

// One entry of a folder as a listing read it: its name, byte for byte, and its
// CShellItemId flags (folder, link).
struct SListedEntry {
    QByteArray name;
    unsigned char flags = 0;
};

using ListedEntries = QList<SListedEntry>;
Q_DECLARE_METATYPE(SListedEntry)

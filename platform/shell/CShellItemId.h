#pragma once

#include "platform/shell/CItemIdList.h"

#include <QByteArray>
#include <QByteArrayView>

// What one entry of an identifier list holds in this namespace: after the byte count, a
// kind byte, a flags byte and the entry's bytes.
//   Computer  the "Computer" object of the desktop (no bytes)
//   Rooted    a file-system folder named by its absolute path (the home folder on the
//             desktop, the root and the mounted drives below Computer)
//   Named     a child of a file-system folder: its file name, byte for byte
// The path of an absolute list is the last Rooted entry's path followed by the names of
// the Named entries after it.
class CShellItemId {
public:
    enum Kind : char { Computer = 'C', Rooted = 'R', Named = 'N' };
    enum Flag : unsigned char { IsFolder = 0x01, IsLink = 0x02 };

    // A new single-level list with one entry; null when it cannot be allocated or the
    // bytes do not fit an entry.
    static LPITEMIDLIST Make(Kind kind, unsigned char flags, QByteArrayView bytes);

    static Kind KindOf(LPCITEMIDLIST entry);
    static unsigned char FlagsOf(LPCITEMIDLIST entry);
    static QByteArrayView BytesOf(LPCITEMIDLIST entry);
    static bool IsFolderEntry(LPCITEMIDLIST entry) { return FlagsOf(entry) & IsFolder; }

    // The file-system path of an absolute list; empty for objects outside the file
    // system (the desktop, Computer).
    static QByteArray PathOf(LPCITEMIDLIST pidlAbs);
    // True for folders: the desktop (the empty list), Computer and folder entries.
    static bool IsFolderList(LPCITEMIDLIST pidlAbs);
};

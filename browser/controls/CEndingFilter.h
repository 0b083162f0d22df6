#pragma once

#include "platform/shell/CItemIdList.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

// Whether an item's full path ends with one of a list of endings (the file-type filter's
// ".jpg", or longer ones), compared byte by byte with ASCII letters in either case. The
// endings' bytes are made once for each list given.
class CEndingFilter {
public:
    // True when the item (an absolute list) ends with one of `endings`; false outside the
    // file system.
    bool Matches(LPCITEMIDLIST pidlAbs, const QStringList& endings);

    // True when `path` ends with `ending`; a path shorter than the ending matches when all
    // of it matches the ending's tail.
    static bool EndsWithNoCase(QByteArrayView path, QByteArrayView ending);

private:
    QStringList m_endingsFor; // the endings m_bytes was made from
    QList<QByteArray> m_bytes;
};

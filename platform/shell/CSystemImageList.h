#pragma once

#include "platform/shell/CItemIdList.h"

#include <QByteArray>
#include <QHash>
#include <QIcon>
#include <QList>

// The program's image list of small icons, taken from the desktop theme (with the
// style's standard icons where the theme has none). Icons are cached by kind (computer,
// drive, home, folder, open folder, and one per file-name extension), so a folder of
// ten thousand pictures asks the theme a handful of times. Items refer to icons by index.
class CSystemImageList {
public:
    // The image list, or null when icons cannot be had (no widget application).
    static CSystemImageList* Get();

    // The index of the small icon for the object named by an absolute list; with `open`
    // a folder's open form.
    int IconIndexOf(LPCITEMIDLIST pidlAbs, bool open = false);
    QIcon Icon(int index) const { return m_icons.value(index); }
    int Count() const { return int(m_icons.size()); }
    // How many times the theme (or the type database) has been asked so far.
    int ProviderCalls() const { return m_nProviderCalls; }

private:
    CSystemImageList() = default;
    template <class Make> int Index(const QByteArray& key, Make make) {
        const auto it = m_indexes.constFind(key);
        if (it != m_indexes.constEnd())
            return it.value();
        m_icons.append(make());
        m_indexes.insert(key, int(m_icons.size()) - 1);
        return int(m_icons.size()) - 1;
    }
    QIcon ThemeIcon(const QString& name, int fallback);
    QIcon FileIcon(QByteArrayView name);
    int FileIconIndex(QByteArrayView name);

    QHash<QByteArray, int> m_indexes;     // computer, drives, home, folders
    QHash<QByteArray, int> m_fileIndexes; // files, by lower-case extension
    QByteArray m_baLastExtension;
    int m_nLastFileIcon = -1;
    QList<QIcon> m_icons;
    int m_nProviderCalls = 0;
};

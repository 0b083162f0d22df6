#include "platform/shell/CSystemImageList.h"

#include "platform/shell/CShellItemId.h"
#include "platform/system/CNativePath.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QStyle>
#include <cctype>

CSystemImageList* CSystemImageList::Get() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return nullptr;
    static CSystemImageList s_list;
    return &s_list;
}

QIcon CSystemImageList::ThemeIcon(const QString& name, int fallback) {
    ++m_nProviderCalls;
    QIcon icon = QIcon::fromTheme(name);
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(static_cast<QStyle::StandardPixmap>(fallback));
    return icon;
}

QIcon CSystemImageList::FileIcon(QByteArrayView name) {
    ++m_nProviderCalls;
    static const QMimeDatabase s_mime;
    const QMimeType type =
        s_mime.mimeTypeForFile(CNativePath::Display(name), QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
    return icon;
}

int CSystemImageList::IconIndexOf(LPCITEMIDLIST pidlAbs, bool open) {
    LPCITEMIDLIST last = CItemIdList::LastItemID(pidlAbs);
    const QByteArrayView bytes = CShellItemId::BytesOf(last);
    switch (CShellItemId::KindOf(last)) {
    case CShellItemId::Computer:
        return Index("computer", [this] { return ThemeIcon("computer", QStyle::SP_ComputerIcon); });
    case CShellItemId::Rooted:
        if (last == pidlAbs) // a folder of the desktop itself: the home folder
            return Index("home", [this] { return ThemeIcon("user-home", QStyle::SP_DirHomeIcon); });
        if (bytes == "/")
            return Index("root",
                         [this] { return ThemeIcon("drive-harddisk", QStyle::SP_DriveHDIcon); });
        return Index("drive",
                     [this] { return ThemeIcon("drive-removable-media", QStyle::SP_DriveHDIcon); });
    case CShellItemId::Named:
        break;
    default:
        return -1;
    }
    if (CShellItemId::IsFolderEntry(last))
        return open ? Index("folder-open",
                            [this] { return ThemeIcon("folder-open", QStyle::SP_DirOpenIcon); })
                    : Index("folder", [this] { return ThemeIcon("folder", QStyle::SP_DirIcon); });
    return FileIconIndex(bytes);
}

int CSystemImageList::FileIconIndex(QByteArrayView name) {
    // Files are cached by their lower-case extension; a folder of one kind of picture
    // finds the same extension again and again, so the last one is checked first.
    const qsizetype dot = name.lastIndexOf('.');
    const QByteArrayView ext = dot > 0 ? name.sliced(dot + 1) : QByteArrayView();
    char lower[32];
    if (ext.size() > qsizetype(sizeof lower))
        return Index("file:" + ext.toByteArray().toLower(), [&] { return FileIcon(name); });
    for (qsizetype i = 0; i < ext.size(); ++i)
        lower[i] = char(std::tolower(static_cast<unsigned char>(ext[i])));
    const QByteArrayView key(lower, ext.size());
    if (m_nLastFileIcon >= 0 && key == m_baLastExtension)
        return m_nLastFileIcon;
    const auto it = m_fileIndexes.constFind(QByteArray::fromRawData(lower, ext.size()));
    int index = 0;
    if (it != m_fileIndexes.constEnd()) {
        index = it.value();
    } else {
        m_icons.append(FileIcon(name));
        index = int(m_icons.size()) - 1;
        m_fileIndexes.insert(key.toByteArray(), index);
    }
    m_baLastExtension = key.toByteArray();
    m_nLastFileIcon = index;
    return index;
}

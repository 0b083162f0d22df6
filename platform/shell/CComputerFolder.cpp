#include "platform/shell/CComputerFolder.h"

#include "platform/shell/CListEnumIDList.h"
#include "platform/shell/CShellItemId.h"
#include "platform/system/CMountTable.h"
#include "platform/system/CNativePath.h"

#include <QFile>
#include <QStorageInfo>

namespace {
bool IsUserMount(const QByteArray& path) {
    return path.startsWith("/media/") || path.startsWith("/run/media/") || path.startsWith("/mnt/");
}
} // namespace

std::unique_ptr<CEnumIDList> CComputerFolder::EnumObjects(ULONG grfFlags) {
    auto list = std::make_unique<CListEnumIDList>();
    if (grfFlags & SHCONTF_FOLDERS)
        for (const QByteArray& path : DrivePaths())
            list->Add(CShellItemId::Make(CShellItemId::Rooted, CShellItemId::IsFolder, path));
    return list;
}

// From the mount table alone: asking each mounted file system (as QStorageInfo's list of
// volumes does) would wait for every network share, and a hung one would hang the window.
QList<QByteArray> CComputerFolder::DrivePaths() {
    QList<QByteArray> paths{QByteArray("/")};
    for (const CMountTable::Mount& mount : CMountTable::Read())
        if (IsUserMount(mount.mountPoint) && !paths.contains(mount.mountPoint))
            paths.append(mount.mountPoint);
    return paths;
}

QString CComputerFolder::RootedName(const QByteArray& path) const {
    if (path == "/")
        return QStringLiteral("/");
    const QString label = QStorageInfo(QFile::decodeName(path)).name();
    return label.isEmpty() ? CNativePath::Display(CNativePath::FileName(path)) : label;
}

#include "platform/shell/CDesktopFolder.h"

#include "platform/shell/CListEnumIDList.h"
#include "platform/shell/CShellItemId.h"
#include "platform/system/CNativePath.h"

#include <QDir>
#include <QFile>

std::unique_ptr<CEnumIDList> CDesktopFolder::EnumObjects(ULONG grfFlags) {
    auto list = std::make_unique<CListEnumIDList>();
    if (grfFlags & SHCONTF_FOLDERS) {
        list->Add(CShellItemId::Make(CShellItemId::Computer, CShellItemId::IsFolder, {}));
        list->Add(CShellItemId::Make(CShellItemId::Rooted, CShellItemId::IsFolder, HomePath()));
    }
    return list;
}

QByteArray CDesktopFolder::HomePath() {
    QByteArray home = qgetenv("HOME");
    if (home.isEmpty())
        home = QFile::encodeName(QDir::homePath());
    while (home.size() > 1 && home.endsWith('/'))
        home.chop(1);
    return home;
}

QString CDesktopFolder::RootedName(const QByteArray& path) const {
    return path == HomePath() ? QStringLiteral("Home") : CNativePath::Display(path);
}

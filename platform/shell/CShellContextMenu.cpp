#include "platform/shell/CShellContextMenu.h"

#include "platform/shell/CFileClipboard.h"
#include "platform/shell/CShellFolder.h"
#include "platform/system/CNativePath.h"
#include "platform/ui/CItemPropertiesDlg.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMenu>
#include <algorithm>

namespace {
struct Registered {
    int handle;
    CShellContextMenu::Provider provider;
};

QList<Registered>& Providers() {
    static QList<Registered> s_providers;
    return s_providers;
}

void AddBuiltIns(const CShellContextMenu::Item& item, QList<CShellContextMenu::Command>& cmds) {
    if (item.path.isEmpty())
        return;
    const QByteArray path = item.path;
    const QString name = item.name;
    cmds.append({100, QCoreApplication::translate("CShellContextMenu", "Open"),
                 [path](QWidget*, CFileActionHook*) {
                     QDesktopServices::openUrl(CNativePath::ToUrl(path));
                     return false;
                 }});
    cmds.append({200, QCoreApplication::translate("CShellContextMenu", "Copy"),
                 [path](QWidget*, CFileActionHook*) {
                     CFileClipboard::Copy({path});
                     return false;
                 }});
    cmds.append({900, QCoreApplication::translate("CShellContextMenu", "Properties"),
                 [path, name](QWidget* owner, CFileActionHook*) {
                     auto* dlg = new CItemPropertiesDlg(owner, path, name);
                     dlg->show();
                     return false;
                 }});
}
} // namespace

int CShellContextMenu::AddProvider(Provider provider) {
    static int s_nNextHandle = 1;
    Providers().append({s_nNextHandle, std::move(provider)});
    return s_nNextHandle++;
}

void CShellContextMenu::RemoveProvider(int handle) {
    Providers().removeIf([handle](const Registered& r) { return r.handle == handle; });
}

CShellContextMenu::Item CShellContextMenu::ItemOf(CShellFolder* folder, LPCITEMIDLIST pidlRel) {
    Item item;
    if (!folder || !pidlRel)
        return item;
    item.path = folder->GetPathOf(pidlRel);
    folder->GetDisplayNameOf(pidlRel, SHGDN_NORMAL, item.name);
    item.isFolder = folder->GetAttributesOf(pidlRel, SFGAO_FOLDER) != 0;
    return item;
}

QList<CShellContextMenu::Command> CShellContextMenu::CommandsFor(const Item& item) {
    QList<Command> cmds;
    AddBuiltIns(item, cmds);
    for (const Registered& r : Providers())
        r.provider(item, cmds);
    std::stable_sort(cmds.begin(), cmds.end(),
                     [](const Command& a, const Command& b) { return a.order < b.order; });
    return cmds;
}

bool CShellContextMenu::Track(QWidget* owner, CShellFolder* folder, LPCITEMIDLIST pidlRel,
                              const QPoint& screenPoint, CFileActionHook* recorder) {
    const QList<Command> cmds = CommandsFor(ItemOf(folder, pidlRel));
    if (cmds.isEmpty())
        return false;
    QMenu menu(owner);
    for (qsizetype i = 0; i < cmds.size(); ++i)
        menu.addAction(cmds[i].text)->setData(int(i));
    const QAction* chosen = menu.exec(screenPoint);
    if (!chosen)
        return false;
    const Command& cmd = cmds[chosen->data().toInt()];
    return cmd.invoke ? cmd.invoke(owner, recorder) : false;
}

#include "app/CCommandBuilder.h"

#include "resources/CommandIds.h"
#include "resources/CommandTable.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QCoreApplication>
#include <QIcon>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>

namespace {

const char* const kIdProperty = "commandId";

QList<QKeySequence> ShortcutsOf(int id) {
    QList<QKeySequence> keys;
    for (const commands::Accelerator& a : commands::MainAccelerators())
        if (a.id == id)
            keys.append(QKeySequence(a.key));
    return keys;
}

QString IconOf(int id) {
    for (const commands::ToolbarButton& b : commands::MainToolbar())
        if (b.id == id && b.icon)
            return QString::fromLatin1(b.icon);
    return QString();
}

QAction* MakeAction(int id, QWidget* owner) {
    QString text = QCoreApplication::translate("CommandTable", commands::MenuText(id));
    if (text.isEmpty())
        text = strings::Tooltip(id);
    auto* a = new QAction(text, owner);
    a->setObjectName(QStringLiteral("cmd%1").arg(id));
    a->setProperty(kIdProperty, id);
    a->setShortcuts(ShortcutsOf(id));
    a->setStatusTip(strings::Prompt(id));
    const QString tip = strings::Tooltip(id);
    if (!tip.isEmpty())
        a->setToolTip(tip);
    const QString icon = IconOf(id);
    if (!icon.isEmpty())
        a->setIcon(QIcon(icon));
    owner->addAction(a);
    return a;
}

} // namespace

CCommandBuilder::Actions CCommandBuilder::CreateActions(QWidget* owner) {
    Actions actions;
    for (int id : commands::AllCommandIds())
        actions.insert(id, MakeAction(id, owner));
    return actions;
}

void CCommandBuilder::BuildMenuBar(QMenuBar* bar, const Actions& actions) {
    for (const commands::Popup& popup : commands::MainMenu())
        AddItems(bar->addMenu(QCoreApplication::translate("CommandTable", popup.text)), popup,
                 actions);
}

void CCommandBuilder::AddItems(QMenu* menu, const commands::Popup& popup, const Actions& actions) {
    for (const commands::MenuItem& item : popup.items) {
        if (item.submenu)
            AddItems(menu->addMenu(QCoreApplication::translate("CommandTable", item.text)),
                     *item.submenu, actions);
        else if (item.id == commands::kSeparator)
            menu->addSeparator();
        else
            menu->addAction(actions.value(item.id));
    }
}

void CCommandBuilder::BuildToolBar(QToolBar* bar, const Actions& actions) {
    bar->setIconSize(QSize(16, 15));
    for (const commands::ToolbarButton& b : commands::MainToolbar()) {
        if (b.id == commands::kSeparator)
            bar->addSeparator();
        else
            bar->addAction(actions.value(b.id));
    }
}

void CCommandBuilder::BindBarToggles(const Actions& actions, QToolBar* toolBar,
                                     QWidget* statusBar) {
    QAction* toolbar = actions.value(cmd::ID_VIEW_TOOLBAR);
    toolbar->setCheckable(true);
    toolbar->setChecked(true);
    QObject::connect(toolbar, &QAction::toggled, toolBar, &QWidget::setVisible);
    QObject::connect(toolBar, &QToolBar::visibilityChanged, toolbar, &QAction::setChecked);
    QAction* status = actions.value(cmd::ID_VIEW_STATUS_BAR);
    status->setCheckable(true);
    status->setChecked(true);
    QObject::connect(status, &QAction::toggled, statusBar, &QWidget::setVisible);
}

#include "browser/namespace/CTreeChildFinder.h"

#include "browser/namespace/CNamespaceTreeView.h"
#include "platform/shell/CShellItemId.h"

#include <QTreeWidgetItem>

namespace {
#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity kFileNameCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity kFileNameCase = Qt::CaseSensitive;
#endif
} // namespace

QTreeWidgetItem* CTreeChildFinder::Find(QTreeWidgetItem* parent, LPCITEMIDLIST pidlRel,
                                        const QString& text) {
    for (int i = 0; pidlRel && i < parent->childCount(); ++i) {
        const NSTREEITEM* rec = CNamespaceTreeView::RecordOf(parent->child(i));
        if (rec && CShellItemId::KindOf(rec->pidlRel) == CShellItemId::KindOf(pidlRel) &&
            CShellItemId::BytesOf(rec->pidlRel) == CShellItemId::BytesOf(pidlRel))
            return parent->child(i);
    }
    return Matching(parent, text);
}

QTreeWidgetItem* CTreeChildFinder::Matching(QTreeWidgetItem* parent, const QString& text) {
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0).compare(text, kFileNameCase) == 0)
            return parent->child(i);
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0).compare(text, Qt::CaseInsensitive) == 0)
            return parent->child(i);
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0).contains(text, Qt::CaseInsensitive))
            return parent->child(i);
    return nullptr;
}

bool CTreeChildFinder::HasChildren(const QTreeWidgetItem* item) {
    return item->childCount() > 0 || item->childIndicatorPolicy() == QTreeWidgetItem::ShowIndicator;
}

#include "browser/namespace/CNamespaceTreeView.h"

#include "browser/controls/CItemLabelHitTest.h"
#include "browser/controls/CLabelScroll.h"
#include "browser/controls/PidlFunctions.h"
#include "browser/namespace/CNamespaceListView.h"
#include "browser/namespace/CNamespaceTreeItem.h"
#include "browser/namespace/CTreeChildFinder.h"
#include "browser/namespace/CTreeExpander.h"
#include "browser/namespace/CTreeFolderDrag.h"
#include "browser/namespace/CTreeFolderFollower.h"
#include "browser/namespace/CTreePathWalker.h"
#include "browser/namespace/CTreeRelister.h"
#include "platform/shell/CFolderLister.h"
#include "platform/shell/CShellContextMenu.h"
#include "platform/shell/CShellFolderRef.h"
#include "platform/shell/CSystemImageList.h"
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/ShowMessage.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTimer>

namespace {
constexpr int kTextLimit = 255;

CNamespaceTreeItem* TreeItem(QTreeWidgetItem* item) {
    return static_cast<CNamespaceTreeItem*>(item);
}
} // namespace

CNamespaceTreeView::CNamespaceTreeView(QWidget* parent)
    : QTreeWidget(parent), m_pFollower(new CTreeFolderFollower(this)),
      m_pLister(new CFolderLister(this)), m_pExpander(new CTreeExpander(*this, *m_pLister)),
      m_pRelister(new CTreeRelister(*this, *m_pLister, *m_pFollower)),
      m_pWalker(new CTreePathWalker(*this)) {
    connect(m_pExpander, &CTreeExpander::Expanded, this, &CNamespaceTreeView::Expanded);
    connect(m_pExpander, &CTreeExpander::Expanded, this, [this](QTreeWidgetItem* item) {
        if (m_walkedTo.isValid() && item == itemFromIndex(m_walkedTo))
            QTimer::singleShot(
                0, this, [this, index = std::exchange(m_walkedTo, {})] { CentreWalked(index); });
    });
    connect(m_pWalker, &CTreePathWalker::Ended, this, &CNamespaceTreeView::OnWalkEnded);
    m_pDrag = new CTreeFolderDrag(*this);
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false); // top-level items expand by double click or keyboard
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragDropMode(QAbstractItemView::DragOnly);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemExpanded, this, &CNamespaceTreeView::OnItemexpanding);
    connect(this, &QTreeWidget::currentItemChanged, this, &CNamespaceTreeView::OnSelchanged);
}

CNamespaceTreeView::~CNamespaceTreeView() {
    disconnect(this, nullptr, this, nullptr);
    if (m_pListView)
        m_pListView->SetTreeView(nullptr);
    m_pWalker->Cancel(); // its end is not told while the items go
    m_pLister->Shutdown();
    clear(); // frees every record
}

void CNamespaceTreeView::SetListView(CNamespaceListView* pListView) {
    m_pListView = pListView;
}

CNamespaceListView* CNamespaceTreeView::ListView() const {
    return m_pListView;
}

void CNamespaceTreeView::InitTree(CNamespaceListView* pListView, const QString& path) {
    CWaitCursor wait;
    m_pImageList = CSystemImageList::Get();
    if (!m_pImageList)
        ShowMessage(this, QStringLiteral("Unable to get system image list.  Icons won't be "
                                         "available"));
    // The root items go in before the list is attached: the first one becoming current
    // is no folder choice of the user's and must not fill or empty the list.
    m_pListView = nullptr;
    PopulateRoot();
    m_pListView = pListView;
    if (!m_pListView)
        return;
    // From here the two meet through signals: the tree tells the folder to list, the list
    // which of its folders was opened.
    connect(this, &CNamespaceTreeView::FolderChosen, m_pListView, &CNamespaceListView::ShowFolder,
            Qt::UniqueConnection);
    connect(m_pListView, &CNamespaceListView::FolderOpened, this,
            &CNamespaceTreeView::SelectChildItem, Qt::UniqueConnection);
    m_pListView->SetTreeView(this);
    m_pListView->InitList(path);
}

bool CNamespaceTreeView::PopulateRoot() {
    CShellFolderRef desktop(CShellFolder::SHGetDesktopFolder());
    if (!desktop)
        return false;
    clear();
    m_pFollower->UnwatchAll();
    m_hFirstRootItem = nullptr;
    m_pExpander->InsertNow(desktop.get(), nullptr, invisibleRootItem());
    invisibleRootItem()->sortChildren(0, Qt::AscendingOrder);
    return true;
}

CNamespaceTreeView::Insert CNamespaceTreeView::InsertChildItem(CShellFolder* psf,
                                                               LPCITEMIDLIST pidlParentAbs,
                                                               QTreeWidgetItem* parent,
                                                               LPCITEMIDLIST pidl) {
    if (!(psf->GetAttributesOf(pidl, SFGAO_FOLDER) & SFGAO_FOLDER))
        return Insert::Skipped;
    QString name;
    if (!GetDisplayName(psf, pidl, name, SHGDN_NORMAL))
        return Insert::Stop;
    NSTREEITEM* rec = CNamespaceTreeItem::NewRecord(psf, pidlParentAbs, pidl);
    if (!rec) { // never insert a record without lists
        ShowMessage(this,
                    QCoreApplication::translate("CNamespaceTreeView", "Out of memory error!"));
        return Insert::Stop;
    }
    auto* item = new CNamespaceTreeItem(rec);
    item->setText(0, name.left(kTextLimit));
    item->m_nImage = GetIconIndex(rec->pidlAbs, false);
    item->m_nSelectedImage = GetIconIndex(rec->pidlAbs, true);
    if (m_pImageList)
        item->setIcon(0, m_pImageList->Icon(item->m_nImage));
    parent->addChild(item);
    m_pExpander->SetArrow(item); // whether it has sub-folders is found on the worker
    if (!m_hFirstRootItem && parent == invisibleRootItem())
        m_hFirstRootItem = item;
    return Insert::Added;
}

int CNamespaceTreeView::GetIconIndex(LPCITEMIDLIST pidlAbs, bool open) const {
    return m_pImageList ? m_pImageList->IconIndexOf(pidlAbs, open) : -1;
}

bool CNamespaceTreeView::GetDisplayName(CShellFolder* psf, LPCITEMIDLIST pidl, QString& name,
                                        ULONG uFlags) {
    name.clear();
    if (!psf || !psf->GetDisplayNameOf(pidl, uFlags, name))
        return false;
    name.truncate(kTextLimit);
    return true;
}

int CNamespaceTreeView::CompareItems(const NSTREEITEM* p1, const NSTREEITEM* p2) {
    return p1->psfParent->CompareIDs(0, p1->pidlRel, p2->pidlRel);
}

NSTREEITEM* CNamespaceTreeView::RecordOf(const QTreeWidgetItem* item) {
    return item ? static_cast<const CNamespaceTreeItem*>(item)->Record() : nullptr;
}

NSTREEITEM* CNamespaceTreeView::SelectedRecord() const {
    return RecordOf(currentItem());
}

void CNamespaceTreeView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QScrollBar* sideways = horizontalScrollBar();
    const int x = sideways->value();
    QTreeWidget::scrollTo(index, hint);
    sideways->setValue(x);
    ShowLabelSideways(index);
}

void CNamespaceTreeView::ShowLabelSideways(const QModelIndex& index) {
    const QRect cell = visualRect(index);
    if (!cell.isValid())
        return;
    QScrollBar* sideways = horizontalScrollBar();
    sideways->setValue(sideways->value() +
                       CLabelScroll::Shift(cell, sizeHintForIndex(index).width(),
                                           viewport()->width(), indentation(), isRightToLeft()));
}

void CNamespaceTreeView::Expand(QTreeWidgetItem* item) {
    if (!item)
        return;
    m_pExpander->ExpandNow(item);
    item->setExpanded(true);
}

bool CNamespaceTreeView::IsReading() const {
    return m_pExpander->IsBusy() || m_pRelister->IsBusy() || m_pWalker->IsWalking();
}

// An item the user opens gets its sub-folders from a worker.
void CNamespaceTreeView::OnItemexpanding(QTreeWidgetItem* item) {
    if (!m_pExpander->ExpandLater(item))
        m_pExpander->ExpandNow(item);
}

void CNamespaceTreeView::SplitPath(const QString& path, QString& component, QString& rest) {
    if (path.startsWith(QLatin1Char('/'))) {
        component = QStringLiteral("/");
        rest = path.mid(1);
        return;
    }
    const qsizetype slash = path.indexOf(QLatin1Char('/'));
    component = slash < 0 ? path : path.left(slash);
    rest = slash < 0 ? QString() : path.mid(slash + 1);
}

void CNamespaceTreeView::SelectPath(const QString& path) {
    // "//", "/./" and a trailing separator name the same folder as the plain path.
    QString rest = path.isEmpty() ? QString() : QDir::cleanPath(path);
    QStringList components;
    QString component;
    while (!rest.isEmpty()) {
        SplitPath(rest, component, rest);
        components.append(component);
    }
    if (!currentItem()) { // no folder choice of the user's: the list stays as it is
        m_bSuppressListFill = true;
        setCurrentItem(m_hFirstRootItem);
        m_bSuppressListFill = false;
    }
    m_bWalkingPath = true;
    m_pWalker->Walk(m_hFirstRootItem, components);
}

// The folder reached is chosen: read once, on the worker, for both the file list and its
// sub-folders. Chosen again, it is listed again.
void CNamespaceTreeView::SelectChild(QTreeWidgetItem* child) {
    if (child == currentItem())
        OnSelchanged(child, child);
    else
        setCurrentItem(child);
    if (!m_pExpander->ExpandLater(child, true))
        Expand(child);
    child->setExpanded(true);
}

// A walk that stopped on the way selects the folder it reached, and the list empties.
void CNamespaceTreeView::OnWalkEnded(QTreeWidgetItem* item, bool bReached) {
    const bool bPath = std::exchange(m_bWalkingPath, false);
    if (!item || (!bReached && !bPath)) { // a child not found: nothing changes
        Q_EMIT PathWalked(false);
        return;
    }
    const int sideways = horizontalScrollBar()->value(); // the walk does not move it
    if (bReached) {
        SelectChild(item);
    } else {
        m_bSuppressListFill = true;
        setCurrentItem(item);
        m_bSuppressListFill = false;
        EmptyListView();
    }
    horizontalScrollBar()->setValue(sideways);
    if (bPath) { // shown whole, once the tree has laid itself out, and again with its sub-folders
        const QPersistentModelIndex index(indexFromItem(item));
        m_walkedTo = m_pExpander->IsExpanding(item) ? index : QPersistentModelIndex();
        QTimer::singleShot(0, this, [this, index] { CentreWalked(index); });
    }
    Q_EMIT PathWalked(bReached);
}

void CNamespaceTreeView::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    const int shrunk = event->oldSize().height() - event->size().height();
    if (CLabelScroll::SeenBeforeShrinking(visualRect(currentIndex()), viewport()->height(), shrunk))
        scrollTo(currentIndex(), QAbstractItemView::PositionAtCenter);
}

void CNamespaceTreeView::CentreWalked(const QPersistentModelIndex& index) {
    if (index.isValid() && index == currentIndex())
        scrollTo(index, QAbstractItemView::PositionAtCenter);
}

bool CNamespaceTreeView::SelectMatchingChild(const QString& text) {
    return SelectChildItem(nullptr, text);
}

bool CNamespaceTreeView::SelectChildItem(LPCITEMIDLIST pidlRel, const QString& text) {
    QTreeWidgetItem* item = currentItem();
    if (!item)
        return false;
    m_bWalkingPath = false;
    m_pWalker->Walk(item, {text}, pidlRel);
    return true;
}

void CNamespaceTreeView::OnSelchanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
    if (m_pImageList) { // the selected folder shows its open icon
        if (auto* item = TreeItem(previous))
            item->setIcon(0, m_pImageList->Icon(item->m_nImage));
        if (auto* item = TreeItem(current))
            item->setIcon(0, m_pImageList->Icon(item->m_nSelectedImage));
    }
    m_pExpander->LeaveChosen(current);
    if (!m_pListView)
        return;
    NSTREEITEM* rec = RecordOf(current);
    if (rec && m_bSuppressListFill) {
        m_bListMatchesSelection = false;
        return;
    }
    // No folder, or one that cannot be bound: the list empties.
    CShellFolderRef folder(rec ? rec->psfParent->BindToObject(rec->pidlRel) : nullptr);
    Q_EMIT FolderChosen(folder ? rec : nullptr, folder.get());
    m_bListMatchesSelection = true;
}

void CNamespaceTreeView::EmptyListView() {
    if (m_pListView)
        Q_EMIT FolderChosen(nullptr, nullptr);
    m_bListMatchesSelection = true;
}

// The person chooses a folder: a walk under way is given up.
void CNamespaceTreeView::keyPressEvent(QKeyEvent* event) {
    m_pWalker->Cancel();
    QTreeWidget::keyPressEvent(event);
}

void CNamespaceTreeView::mousePressEvent(QMouseEvent* event) {
    m_pWalker->Cancel();
    if (event->button() == Qt::RightButton) {
        event->accept(); // the item is selected after its menu, not on the press
        return;
    }
    if (!m_pDrag->Press(event))
        QTreeWidget::mousePressEvent(event);
}

void CNamespaceTreeView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pDrag->Move(event))
        QTreeWidget::mouseMoveEvent(event);
}

void CNamespaceTreeView::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_pDrag->Release(event))
        QTreeWidget::mouseReleaseEvent(event);
}

void CNamespaceTreeView::startDrag(Qt::DropActions) {
    m_pDrag->Start(currentItem());
}

void CNamespaceTreeView::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse)
        OnRclick(event->pos());
    event->accept();
}

bool CNamespaceTreeView::IsOnLabel(QTreeWidgetItem* item, const QPoint& pos) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.index = indexFromItem(item);
    option.rect = visualItemRect(item);
    option.text = item->text(0);
    option.icon = item->icon(0);
    return CItemLabelHitTest::IsOnLabel(this, option, pos);
}

void CNamespaceTreeView::OnRclick(const QPoint& pos) {
    QTreeWidgetItem* item = itemAt(pos);
    if (!item || !IsOnLabel(item, pos))
        return;
    m_pFollower->RunItemMenu(item, [&](CShellFolder* psf, LPCITEMIDLIST pidlRel) {
        return DoContextMenu(this, psf, pidlRel, viewport()->mapToGlobal(pos));
    });
}

bool CNamespaceTreeView::DoContextMenu(QWidget* owner, CShellFolder* psf, LPCITEMIDLIST pidl,
                                       const QPoint& pt) {
    return CShellContextMenu::Track(owner, psf, pidl, pt, m_pRecorder);
}

void CNamespaceTreeView::RefreshChildren(QTreeWidgetItem* parent) {
    if (parent)
        m_pRelister->Relist(parent);
    else
        PopulateRoot();
}

// Qt makes the first item current when the tree gets the focus without one; that is no
// folder choice of the user's, so it does not fill the list.
void CNamespaceTreeView::focusInEvent(QFocusEvent* event) {
    const bool bWasSuppressed = m_bSuppressListFill;
    if (!currentIndex().isValid())
        m_bSuppressListFill = true;
    QTreeWidget::focusInEvent(event);
    m_bSuppressListFill = bWasSuppressed;
}

void CNamespaceTreeView::RefreshExpandedFolders() {
    m_pFollower->RefreshExpandedFolders();
}

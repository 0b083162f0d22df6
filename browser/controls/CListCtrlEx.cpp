#include "browser/controls/CListCtrlEx.h"

#include <QEvent>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QStyle>

namespace {
constexpr int kTextLimit = 255;
constexpr int kColumnChars = 20; // width of a column of the small-icon view, in characters
} // namespace

CListCtrlEx::CListCtrlEx(QWidget* parent, CListCtrlModel* items, QItemSelectionModel* selection)
    : QListView(parent), m_pModel(items ? items : new CListCtrlModel(this)) {
    setModel(m_pModel);
    if (selection && selection->model() == m_pModel) {
        QItemSelectionModel* own = selectionModel();
        setSelectionModel(selection);
        delete own;
    }
    if (items) // items that go first leave the list empty, never dangling
        connect(items, &QObject::destroyed, this, [this] { m_pModel = new CListCtrlModel(this); });
    setViewMode(QListView::ListMode);
    setFlow(QListView::LeftToRight);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setUniformItemSizes(true); // only the first item is asked for its size
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTextElideMode(Qt::ElideMiddle); // keeps the extension in sight
    UpdateGrid();
}

void CListCtrlEx::UpdateGrid() {
    // Cells of one size keep the layout of many thousands of items cheap: no item is
    // measured. They share the list's width, so that a list made wider shows longer names;
    // a second column comes only where each can be twice kColumnChars wide.
    const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    setIconSize(QSize(icon, icon));
    const QFontMetrics fm = fontMetrics();
    const int least = icon + 8 + fm.averageCharWidth() * kColumnChars;
    // The view lays its rows out with room for its scroll bar kept free, shown or not.
    const int room = maximumViewportSize().width() - 1 -
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    const int width = std::max(least, room / std::max(1, room / (2 * least)));
    const QSize grid(width, std::max(icon, fm.height()) + 4);
    if (grid != gridSize()) {
        m_pModel->SetItemSize(grid);
        setGridSize(grid);
    }
}

void CListCtrlEx::resizeEvent(QResizeEvent* event) {
    QListView::resizeEvent(event);
    UpdateGrid();
    Arrange(); // at once: no rows laid out for the old width are ever shown
}

void CListCtrlEx::changeEvent(QEvent* event) {
    QListView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        UpdateGrid();
}

void CListCtrlEx::SetCellText(int nItem, int nSubItem, const QString& text) {
    if (nSubItem == 0)
        m_pModel->SetItemText(nItem, text.left(kTextLimit));
}

void CListCtrlEx::RemoveItem(int nItem) {
    // Without a current row Qt does not select a neighbour by itself; the caller chooses
    // the next item (and shows it once, with the right index and count).
    if (currentIndex().row() == nItem)
        selectionModel()->clear();
    DeleteItem(nItem);
    Arrange();
}

void CListCtrlEx::SelectItem(int nItem, bool bSelect) {
    QItemSelectionModel* sel = selectionModel();
    const QModelIndex index = IndexOf(nItem);
    if (index.isValid()) {
        if (bSelect) {
            sel->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
            scrollTo(index);
        } else {
            sel->select(index, QItemSelectionModel::Deselect);
        }
    } else if (nItem == -1 && !bSelect) {
        sel->clearSelection();
    }
    m_nCurItem = nItem;
}

int CListCtrlEx::GetCurItem() const {
    return m_nCurItem != -1 ? m_nCurItem : GetNextSelectedItem(-1);
}

int CListCtrlEx::HitTestRow(QPoint& point) const {
    point = viewport()->mapFromGlobal(point);
    const QModelIndex index = indexAt(QPoint(1, point.y()));
    return index.isValid() ? index.row() : -1;
}

int CListCtrlEx::InsertItem(int nItem, const QString& text, int nImage, quintptr lParam,
                            const QByteArray& native) {
    return m_pModel->InsertItem(nItem, text.left(kTextLimit), nImage, lParam, native);
}

bool CListCtrlEx::DeleteItem(int nItem) {
    return m_pModel->DeleteItem(nItem);
}

void CListCtrlEx::DeleteAllItems() {
    m_pModel->DeleteAllItems();
}

void CListCtrlEx::RetireAllItems() {
    m_pModel->RetireAllItems();
}

int CListCtrlEx::RetiredCount() const {
    return m_pModel->RetiredCount();
}

QString CListCtrlEx::GetItemText(int nItem, int nSubItem) const {
    return nSubItem == 0 ? m_pModel->ItemText(nItem) : QString();
}

void CListCtrlEx::SortItems(CListCtrlModel::Compare compare, quintptr lParamSort,
                            CListCtrlModel::SortKey sortKey) {
    m_pModel->SortItems(compare, lParamSort, sortKey);
}

int CListCtrlEx::GetNextSelectedItem(int nStart) const {
    int next = -1;
    for (const QModelIndex& index : selectionModel()->selectedIndexes())
        if (index.row() > nStart && (next == -1 || index.row() < next))
            next = index.row();
    return next;
}

bool CListCtrlEx::IsItemSelected(int nItem) const {
    const QModelIndex index = IndexOf(nItem);
    return index.isValid() && selectionModel()->isSelected(index);
}

// The view lays its items out on a later turn of the event loop, and draws them where they
// last stood until then: after a row was taken out, a paint in between would show a gap or
// a blank list.
void CListCtrlEx::paintEvent(QPaintEvent* event) {
    executeDelayedItemsLayout();
    QListView::paintEvent(event);
}

void CListCtrlEx::Arrange() {
    // At once, not at the next turn of the event loop: a repaint that follows must show
    // the items where they now stand, not a list still waiting for its layout (blank).
    scheduleDelayedItemsLayout();
    executeDelayedItemsLayout();
}

QModelIndex CListCtrlEx::IndexOf(int nItem) const {
    return nItem >= 0 && nItem < GetItemCount() ? m_pModel->index(nItem) : QModelIndex();
}

// The arrow keys go the way they point. Right to left, the list view lays its rows out
// from the left and mirrors them when it shows them, but moves the cursor in the unmirrored
// rows: Left would go right.
QModelIndex CListCtrlEx::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (isRightToLeft() && (action == MoveLeft || action == MoveRight))
        action = action == MoveLeft ? MoveRight : MoveLeft;
    return QListView::moveCursor(action, modifiers);
}

// Qt makes the first row current (unselected) when a list without a current row gets the
// focus, so the first Down would select the second row. With nothing selected there is no
// current row, and the first arrow press selects the first item.
void CListCtrlEx::focusInEvent(QFocusEvent* event) {
    QListView::focusInEvent(event);
    if (m_nCurItem < 0 && selectionModel() && !selectionModel()->hasSelection())
        selectionModel()->clearCurrentIndex();
}

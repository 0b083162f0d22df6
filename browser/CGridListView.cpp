#include "browser/CGridListView.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

CGridListView::CGridListView(QWidget* parent) : QAbstractItemView(parent) {
    setVerticalScrollMode(ScrollPerPixel);
    setHorizontalScrollMode(ScrollPerPixel);
}

void CGridListView::SetCellSize(const QSize& size) {
    m_cell = size.expandedTo(QSize(1, 1));
    Relayout(true);
}

void CGridListView::setModel(QAbstractItemModel* model) {
    disconnect(m_removed);
    disconnect(m_relaid);
    QAbstractItemView::setModel(model);
    if (!model)
        return;
    m_removed =
        connect(model, &QAbstractItemModel::rowsRemoved, this, &CGridListView::OnRowsRemoved);
    m_relaid = connect(model, &QAbstractItemModel::layoutChanged, this, [this] { Relayout(true); });
}

// Lays the items out at the next turn of the event loop (or at once through
// executeDelayedItemsLayout), repainting them all unless told the screen is already right.
void CGridListView::Relayout(bool bRepaintAll) {
    m_bRepaintAll = m_bRepaintAll || bRepaintAll;
    scheduleDelayedItemsLayout();
}

void CGridListView::doItemsLayout() {
    updateGeometries();
    if (m_bRepaintAll)
        viewport()->update();
    m_bRepaintAll = false;
}

ListGridLayout CGridListView::Layout() const {
    return ListGridLayout(model() ? model()->rowCount(rootIndex()) : 0, m_cell,
                          viewport()->width());
}

QModelIndex CGridListView::IndexOfItem(int item) const {
    return item >= 0 && model() ? model()->index(item, 0, rootIndex()) : QModelIndex();
}

QRect CGridListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.parent() != rootIndex() || index.column() != 0)
        return QRect();
    const QRect cell = Layout().CellRect(index.row());
    return cell.isEmpty() ? QRect() : cell.translated(-Offset());
}

QModelIndex CGridListView::indexAt(const QPoint& point) const {
    return IndexOfItem(Layout().ItemAt(point + Offset()));
}

void CGridListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const QRect cell = visualRect(index);
    const QRect area = viewport()->rect();
    if (cell.isEmpty() || (hint == EnsureVisible && area.contains(cell)))
        return;
    int dy = 0;
    if (hint == PositionAtTop || (hint == EnsureVisible && cell.top() < area.top()))
        dy = cell.top();
    else if (hint == PositionAtBottom || hint == EnsureVisible)
        dy = cell.bottom() - area.bottom();
    else if (hint == PositionAtCenter)
        dy = cell.center().y() - area.center().y();
    int dx = 0;
    if (cell.left() < area.left() || cell.width() > area.width())
        dx = cell.left();
    else if (cell.right() > area.right())
        dx = cell.right() - area.right();
    verticalScrollBar()->setValue(verticalScrollBar()->value() + dy);
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx);
}

void CGridListView::reset() {
    QAbstractItemView::reset();
    Relayout(true);
}

QModelIndex CGridListView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    using Move = ListGridLayout::Move;
    Move move = Move::Next;
    switch (action) {
    case MoveLeft:
        move = Move::Left;
        break;
    case MoveRight:
        move = Move::Right;
        break;
    case MoveUp:
        move = Move::Up;
        break;
    case MoveDown:
        move = Move::Down;
        break;
    case MovePageUp:
        move = Move::PageUp;
        break;
    case MovePageDown:
        move = Move::PageDown;
        break;
    case MoveHome:
        move = Move::Home;
        break;
    case MoveEnd:
        move = Move::End;
        break;
    case MoveNext:
        move = Move::Next;
        break;
    case MovePrevious:
        move = Move::Previous;
        break;
    }
    const QModelIndex current = currentIndex();
    const int pageRows = viewport()->height() / m_cell.height();
    return IndexOfItem(Layout().Step(current.isValid() ? current.row() : -1, move, pageRows));
}

int CGridListView::horizontalOffset() const {
    return horizontalScrollBar()->value();
}

int CGridListView::verticalOffset() const {
    return verticalScrollBar()->value();
}

bool CGridListView::isIndexHidden(const QModelIndex&) const {
    return false;
}

// Selects the items whose cells the rectangle touches (with a rectangle touching none,
// `command` applies to an empty selection, which clears where asked to).
void CGridListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    if (!selectionModel())
        return;
    const ListGridLayout layout = Layout();
    const QRect area = rect.normalized().translated(Offset());
    const auto [first, last] = layout.RowsIn(area);
    QItemSelection selection;
    int runStart = -1;
    for (int item = first; item <= last + 1; ++item) {
        const bool bIn = item <= last && layout.CellRect(item).intersects(area);
        if (bIn && runStart < 0)
            runStart = item;
        if (!bIn && runStart >= 0) {
            selection.select(IndexOfItem(runStart), IndexOfItem(item - 1));
            runStart = -1;
        }
    }
    selectionModel()->select(selection, command);
}

QRegion CGridListView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const QRect area = viewport()->rect();
    for (const QItemSelectionRange& range : selection) {
        if (range.parent() != rootIndex() || range.left() > 0)
            continue;
        for (int item = range.top(); item <= range.bottom(); ++item) {
            const QRect cell = visualRect(IndexOfItem(item));
            if (cell.intersects(area))
                region += cell;
        }
    }
    return region;
}

void CGridListView::updateGeometries() {
    const QSize content = Layout().ContentSize();
    const QSize view = viewport()->size();
    QScrollBar* vertical = verticalScrollBar();
    vertical->setSingleStep(m_cell.height());
    vertical->setPageStep(view.height());
    vertical->setRange(0, std::max(0, content.height() - view.height()));
    QScrollBar* horizontal = horizontalScrollBar();
    horizontal->setSingleStep(m_cell.width());
    horizontal->setPageStep(view.width());
    horizontal->setRange(0, std::max(0, content.width() - view.width()));
    QAbstractItemView::updateGeometries();
}

void CGridListView::resizeEvent(QResizeEvent* event) {
    QAbstractItemView::resizeEvent(event);
    updateGeometries();
    viewport()->update(); // the rows may hold another number of items now
    m_bRepaintAll = true; // and so may the ones waiting to be laid out
}

void CGridListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QAbstractItemView::rowsInserted(parent, start, end);
    Relayout(true);
}

void CGridListView::OnRowsRemoved(const QModelIndex& parent, int start, int end) {
    if (parent == rootIndex() && CloseUpOnScreen(start, end)) {
        Relayout(false);
        return;
    }
    viewport()->update(); // at the next paint, not only after the layout
    Relayout(true);
}

// In a list of one column the items after removed ones move up by as many cells: the
// picture on screen is moved up instead of drawing every item again, and only the strip
// it leaves at the bottom is drawn. Returns false where that is not the case.
bool CGridListView::CloseUpOnScreen(int start, int end) {
    if (Layout().Columns() != 1 || !viewport()->isVisible() || !viewport()->updatesEnabled())
        return false;
    const QRect area = viewport()->rect();
    const int top = start * m_cell.height() - verticalOffset();
    if (top > area.bottom())
        return true; // below what is shown: nothing on screen moves
    const int from = std::max(0, top);
    viewport()->scroll(0, -(end - start + 1) * m_cell.height(),
                       QRect(0, from, area.width(), area.height() - from));
    return true;
}

void CGridListView::changeEvent(QEvent* event) {
    QAbstractItemView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
        event->type() == QEvent::PaletteChange)
        Relayout(true);
}

void CGridListView::paintEvent(QPaintEvent* event) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QPainter painter(viewport());
    const ListGridLayout layout = Layout();
    const QRect area = event->rect().translated(Offset());
    const bool bFocus = (hasFocus() || viewport()->hasFocus()) && currentIndex().isValid();
    const auto [first, last] = layout.RowsIn(area);
    for (int item = first; item <= last; ++item) {
        const QRect cell = layout.CellRect(item).translated(-Offset());
        if (!event->region().intersects(cell))
            continue;
        option.rect = cell;
        PaintItem(painter, option, IndexOfItem(item), bFocus);
    }
}

// Draws one item with the states a list gives it: selected, current with the focus,
// disabled by its model.
void CGridListView::PaintItem(QPainter& painter, QStyleOptionViewItem option,
                              const QModelIndex& index, bool bFocus) const {
    if (selectionModel() && selectionModel()->isSelected(index))
        option.state |= QStyle::State_Selected;
    if (option.state & QStyle::State_Enabled) {
        const bool bItemEnabled = model()->flags(index) & Qt::ItemIsEnabled;
        option.state.setFlag(QStyle::State_Enabled, bItemEnabled);
        option.palette.setCurrentColorGroup(bItemEnabled ? QPalette::Normal : QPalette::Disabled);
    }
    if (bFocus && index == currentIndex()) {
        option.state |= QStyle::State_HasFocus;
        if (state() == EditingState)
            option.state |= QStyle::State_Editing;
    }
    itemDelegateForIndex(index)->paint(&painter, option, index);
}

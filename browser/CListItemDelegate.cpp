#include "browser/CListItemDelegate.h"

#include "platform/SameLook.h"

#include <QAbstractScrollArea>
#include <QPainter>
#include <algorithm>
#include <memory>

namespace {
// The parts of an item's state that change how it is drawn.
constexpr QStyle::State kDrawnState =
    QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_Active | QStyle::State_Enabled |
    QStyle::State_KeyboardFocusChange | QStyle::State_MouseOver | QStyle::State_Open;
// Enough for several screenfuls of a list pane of the usual size.
constexpr qsizetype kMinCacheBytes = 8 << 20;
} // namespace

void CListItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    if (!CanCache(option)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const Look look = LookOf(option);
    if (!(look == m_look)) {
        m_cells.clear();
        m_composer.Reset();
        m_look = look;
    }
    KeepRoomFor(option);
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    CellKey key{index.data(Qt::DisplayRole).toString(), icon.isNull() ? 0 : icon.cacheKey(),
                int(option.state & kDrawnState)};
    QPixmap* cell = m_cells.object(key);
    if (!cell) {
        cell = Render(option, index, look.dpr);
        const qsizetype bytes = qsizetype(cell->width()) * cell->height() * 4;
        if (!m_cells.insert(key, cell, bytes)) { // larger than the whole cache: draw in place
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
    }
    painter->drawPixmap(option.rect.topLeft(), *cell);
}

// The list paints an even background of its base colour under the items, which the cell
// pictures repeat; anything else is drawn in place.
bool CListItemDelegate::CanCache(const QStyleOptionViewItem& option) const {
    const auto* view = qobject_cast<const QAbstractScrollArea*>(option.widget);
    const QWidget* viewport = view ? view->viewport() : nullptr;
    return viewport && option.rect.size() == m_cell && !m_cell.isEmpty() &&
           viewport->autoFillBackground() && viewport->backgroundRole() == QPalette::Base &&
           option.backgroundBrush.style() == Qt::NoBrush;
}

CListItemDelegate::Look CListItemDelegate::LookOf(const QStyleOptionViewItem& option) {
    const QWidget* view = option.widget;
    return Look{option.rect.size(),        option.decorationSize, option.font,
                option.palette.cacheKey(), view->style(),         view->devicePixelRatioF(),
                int(option.textElideMode)};
}

// Room for a few screenfuls of cells, so a large list window does not draw every cell
// anew at each paint.
void CListItemDelegate::KeepRoomFor(const QStyleOptionViewItem& option) const {
    const QSize area =
        static_cast<const QAbstractScrollArea*>(option.widget)->viewport()->size() * m_look.dpr;
    m_cells.setMaxCost(std::max(kMinCacheBytes, 3 * qsizetype(area.width()) * area.height() * 4));
}

// The cell of one item: composed where that is known to look as the style draws it, by
// the style where it is known not to, and the first time both ways, to find out.
QPixmap* CListItemDelegate::Render(const QStyleOptionViewItem& option, const QModelIndex& index,
                                   qreal dpr) const {
    QStyleOptionViewItem at = option;
    at.rect.moveTopLeft(QPoint(0, 0));
    QStyleOptionViewItem item = at;
    initStyleOption(&item, index);
    const CListCellComposer::Verdict verdict = m_composer.VerdictFor(item);
    if (verdict == CListCellComposer::Verdict::Composes) {
        auto* cell = new QPixmap(at.rect.size() * dpr); // the background covers all of it
        cell->setDevicePixelRatio(dpr);
        QPainter painter(cell);
        m_composer.Compose(painter, item);
        return cell;
    }
    QPixmap* cell = NewCell(at, dpr);
    QPainter painter(cell);
    QStyledItemDelegate::paint(&painter, at, index);
    painter.end();
    if (verdict == CListCellComposer::Verdict::Unknown) {
        std::unique_ptr<QPixmap> composed(NewCell(at, dpr));
        QPainter trial(composed.get());
        m_composer.Compose(trial, item);
        trial.end();
        m_composer.SetVerdict(item, SameLook(cell->toImage(), composed->toImage()));
    }
    return cell;
}

// A cell filled with the colour the list's background has for this state.
QPixmap* CListItemDelegate::NewCell(const QStyleOptionViewItem& option, qreal dpr) const {
    auto* cell = new QPixmap(option.rect.size() * dpr);
    cell->setDevicePixelRatio(dpr);
    const QPalette::ColorGroup group =
        !(option.state & QStyle::State_Enabled)
            ? QPalette::Disabled
            : (option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive);
    cell->fill(option.palette.color(group, QPalette::Base));
    return cell;
}

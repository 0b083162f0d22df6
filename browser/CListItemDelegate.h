#pragma once

#include "browser/CListCellComposer.h"

#include <QCache>
#include <QPixmap>
#include <QStyledItemDelegate>

// Draws the items of the small-icon list. Each item is drawn once, into a picture of its
// cell, and from then on the picture is copied: closing up the list after a file has gone,
// or scrolling, does not lay out and shape every visible name again. A cell is drawn over
// the list's own background, so the copy looks exactly like an item drawn in place. New
// cells are composed from parts where that gives the style's own picture (see
// CListCellComposer), else drawn by the style.
class CListItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The size of the view's cells. Only items of exactly that size are cached: cells of a
    // grid never overlap, so a cell's picture hides nothing a neighbour drew.
    void SetCellSize(const QSize& size) { m_cell = size; }

    // Number of cell pictures held (for tests).
    qsizetype CachedCells() const { return m_cells.count(); }

private:
    // What every cached cell depends on; when it changes the cache starts again.
    struct Look {
        QSize cell;
        QSize decoration;
        QFont font;
        qint64 palette = 0;
        const QStyle* style = nullptr;
        qreal dpr = 1;
        int elide = 0;
        bool operator==(const Look&) const = default;
    };
    // One item in one state.
    struct CellKey {
        QString text;
        qint64 icon = 0;
        int state = 0;
        bool operator==(const CellKey&) const = default;
        friend size_t qHash(const CellKey& key, size_t seed = 0) {
            return qHashMulti(seed, key.text, key.icon, key.state);
        }
    };

    bool CanCache(const QStyleOptionViewItem& option) const;
    static Look LookOf(const QStyleOptionViewItem& option);
    void KeepRoomFor(const QStyleOptionViewItem& option) const;
    QPixmap* Render(const QStyleOptionViewItem& option, const QModelIndex& index, qreal dpr) const;
    QPixmap* NewCell(const QStyleOptionViewItem& option, qreal dpr) const;

    QSize m_cell;
    mutable Look m_look;
    mutable QCache<CellKey, QPixmap> m_cells; // cost in bytes
    mutable CListCellComposer m_composer;
};

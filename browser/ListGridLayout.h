#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the items of a list in small-icon view stand: equal cells flowing left to right in
// rows as wide as the view (at least one cell), one row under the other. Everything is
// arithmetic on the item's number, so removing an item from a list of any length costs
// the same. Coordinates are those of the whole content, before scrolling.
class ListGridLayout {
public:
    enum class Move { Left, Right, Up, Down, PageUp, PageDown, Home, End, Next, Previous };

    ListGridLayout(int count, QSize cell, int viewWidth);

    int Columns() const { return m_columns; }
    int Rows() const { return m_count > 0 ? (m_count + m_columns - 1) / m_columns : 0; }
    QSize ContentSize() const;
    // The cell of an item; empty when there is no such item.
    QRect CellRect(int item) const;
    // The item whose cell holds a point; -1 when none does.
    int ItemAt(const QPoint& point) const;
    // The first and last items of the rows a rectangle touches (first > last: none).
    QPair<int, int> RowsIn(const QRect& rect) const;
    // The item a cursor key leads to from `item` (-1: none yet, which leads to the first);
    // `pageRows` rows make a page. Left and Right follow the flow from row to row, Up and
    // Down keep the column. Stays on `item` where the key leads nowhere; -1 only for an
    // empty list.
    int Step(int item, Move move, int pageRows) const;

private:
    int Clamp(int item) const { return item < 0 ? 0 : (item >= m_count ? m_count - 1 : item); }
    int m_count;
    QSize m_cell;
    int m_columns;
};

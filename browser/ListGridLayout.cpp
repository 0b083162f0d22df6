#include "browser/ListGridLayout.h"

#include <algorithm>

ListGridLayout::ListGridLayout(int count, QSize cell, int viewWidth)
    : m_count(std::max(0, count)), m_cell(cell.expandedTo(QSize(1, 1))),
      m_columns(std::max(1, viewWidth / m_cell.width())) {
}

QSize ListGridLayout::ContentSize() const {
    const int columns = std::min(m_columns, std::max(1, m_count));
    return QSize(columns * m_cell.width(), Rows() * m_cell.height());
}

QRect ListGridLayout::CellRect(int item) const {
    if (item < 0 || item >= m_count)
        return QRect();
    return QRect(QPoint(item % m_columns * m_cell.width(), item / m_columns * m_cell.height()),
                 m_cell);
}

int ListGridLayout::ItemAt(const QPoint& point) const {
    if (point.x() < 0 || point.y() < 0)
        return -1;
    const int column = point.x() / m_cell.width();
    if (column >= m_columns)
        return -1;
    const qint64 item = qint64(point.y() / m_cell.height()) * m_columns + column;
    return item < m_count ? int(item) : -1;
}

QPair<int, int> ListGridLayout::RowsIn(const QRect& rect) const {
    if (m_count == 0 || rect.isEmpty() || rect.bottom() < 0)
        return {0, -1};
    const int firstRow = std::max(0, rect.top()) / m_cell.height();
    const int lastRow = rect.bottom() / m_cell.height();
    const qint64 first = qint64(firstRow) * m_columns;
    const qint64 last = std::min<qint64>(qint64(lastRow + 1) * m_columns, m_count) - 1;
    return {int(std::min<qint64>(first, m_count)), int(last)};
}

int ListGridLayout::Step(int item, Move move, int pageRows) const {
    if (m_count == 0)
        return -1;
    if (item < 0 || item >= m_count)
        return 0;
    const int column = item % m_columns;
    const int page = std::max(1, pageRows) * m_columns;
    switch (move) {
    case Move::Left: // along the flow, from a row's first item to the row above
    case Move::Previous:
        return Clamp(item - 1);
    case Move::Right:
    case Move::Next:
        return Clamp(item + 1);
    case Move::Up:
        return item >= m_columns ? item - m_columns : item;
    case Move::Down:
        // From above a shorter last row, down goes to that row's last item.
        return item / m_columns < Rows() - 1 ? std::min(item + m_columns, m_count - 1) : item;
    case Move::PageUp:
        return item - page >= 0 ? item - page : column;
    case Move::PageDown: {
        if (item + page < m_count)
            return item + page;
        const int lastInColumn = (m_count - 1 - column) / m_columns * m_columns + column;
        return std::max(item, lastInColumn);
    }
    case Move::Home:
        return 0;
    case Move::End:
        return m_count - 1;
    }
    return item;
}

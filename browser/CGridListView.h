#pragma once

#include "browser/ListGridLayout.h"

#include <QAbstractItemView>

// An item view in small-icon mode: every item has the same cell, the cells flow left to
// right in rows as wide as the view, and the view scrolls up and down. The layout is
// arithmetic (ListGridLayout), so inserting or removing an item costs the same in a list
// of any length, and painting visits the visible items only.
class CGridListView : public QAbstractItemView {
    Q_OBJECT
public:
    explicit CGridListView(QWidget* parent = nullptr);

    void SetCellSize(const QSize& size);
    QSize CellSize() const { return m_cell; }

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void setModel(QAbstractItemModel* model) override;
    void reset() override;
    void doItemsLayout() override;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void changeEvent(QEvent* event) override;

private:
    ListGridLayout Layout() const;
    QModelIndex IndexOfItem(int item) const;
    QPoint Offset() const { return QPoint(horizontalOffset(), verticalOffset()); }
    void PaintItem(QPainter& painter, QStyleOptionViewItem option, const QModelIndex& index,
                   bool bFocus) const;
    void OnRowsRemoved(const QModelIndex& parent, int start, int end);
    bool CloseUpOnScreen(int start, int end);
    void Relayout(bool bRepaintAll);

    QSize m_cell{1, 1};
    // Whether the next layout must repaint everything, or only settle the scroll bars
    // because every change since the last was shown by moving what is on screen.
    bool m_bRepaintAll = true;
    QMetaObject::Connection m_removed;
    QMetaObject::Connection m_relaid;
};

#pragma once

#include "browser/controls/CListCtrlModel.h"

#include <QListView>

// A list control in small-icon view: items flow left to right in rows of equal cells that
// share the list's width, with single selection; names too long for their cell are
// shortened in the middle, and shown whole in their tooltips. It keeps the current
// item (m_nCurItem) for the views built on it and offers the item operations those views use; the
// three virtuals are the points where the picture list changes behaviour.
//
// The items may belong to someone else: given a model (and the selection on it), the list
// is a view on them, and both must outlive it; without, it keeps items of its own.
class CListCtrlEx : public QListView {
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget* parent = nullptr, CListCtrlModel* items = nullptr,
                         QItemSelectionModel* selection = nullptr);

    // Index of the current item; -1 for none. Every fill starts by setting it to -1.
    int m_nCurItem = -1;

    virtual void SetCellText(int nItem, int nSubItem, const QString& text);
    // Deletes an item and lets the others close up.
    virtual void RemoveItem(int nItem);
    // Selects (or deselects) an item and makes it the current item.
    virtual void SelectItem(int nItem, bool bSelect);

    // m_nCurItem, or when that is -1 the first selected item, or -1.
    int GetCurItem() const;
    // The item in the row under a screen point (converted to the list's coordinates in
    // place), whatever the column; -1 when there is none.
    int HitTestRow(QPoint& point) const;

    int GetItemCount() const { return m_pModel->Count(); }
    int InsertItem(int nItem, const QString& text, int nImage, quintptr lParam,
                   const QByteArray& native = QByteArray());
    bool DeleteItem(int nItem);
    void DeleteAllItems();
    // Empties the list at once and frees the items over the next turns of the event loop.
    void RetireAllItems();
    // Items emptied out and not yet freed.
    int RetiredCount() const;
    QString GetItemText(int nItem, int nSubItem = 0) const;
    int GetItemImage(int nItem) const { return m_pModel->ItemImage(nItem); }
    quintptr GetItemData(int nItem) const { return m_pModel->ItemData(nItem); }
    void SortItems(CListCtrlModel::Compare compare, quintptr lParamSort,
                   CListCtrlModel::SortKey sortKey = nullptr);
    // The first selected item after nStart (-1: from the beginning), or -1.
    int GetNextSelectedItem(int nStart = -1) const;
    bool IsItemSelected(int nItem) const;
    void SetImageList(CSystemImageList* imageList) { m_pModel->SetImageList(imageList); }
    // Lays the items out again, at once.
    void Arrange();
    // The model row of an item (for tests and subclasses).
    QModelIndex IndexOf(int nItem) const;
    // The cell every item stands in.
    QSize CellSize() const { return gridSize(); }

protected:
    CListCtrlModel* Model() const { return m_pModel; }
    // Between these, insertions and deletions reach the view as one reset.
    void BeginBatch() { m_pModel->BeginBatch(); }
    void EndBatch() { m_pModel->EndBatch(); }
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Rows taken out since the last layout are closed up before anything is drawn.
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    void UpdateGrid();
    CListCtrlModel* m_pModel;
};

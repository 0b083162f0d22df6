#pragma once

#include <QSize>

#include <QAbstractListModel>
#include <QList>
#include <vector>

class CSystemImageList;

// The items of a list control: text, icon index, one item value and the item's file path
// (the system's bytes; empty outside the file system) each, in a plain vector. Insertions may be
// batched: between BeginBatch and EndBatch the views are told nothing until one reset at the end,
// which keeps a fill of many thousands of items fast.
class CListCtrlModel : public QAbstractListModel {
    Q_OBJECT
public:
    // The size every item asks for (the view's cell), so no item is measured.
    void SetItemSize(const QSize& size) { m_itemSize = size; }
    using Deleter = void (*)(quintptr lParam);
    using Compare = int (*)(quintptr lParam1, quintptr lParam2, quintptr lParamSort);
    // Appends an item's sort key to `keys`; see SortItems.
    using SortKey = void (*)(quintptr lParam, QByteArray& keys);

    explicit CListCtrlModel(QObject* parent = nullptr) : QAbstractListModel(parent) {}
    ~CListCtrlModel() override;

    // Called for the value (other than 0) of every item that is deleted, whichever way.
    void SetDeleter(Deleter deleter) { m_deleter = deleter; }
    void SetImageList(CSystemImageList* imageList);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    int Count() const { return int(m_rows.size()); }
    int InsertItem(int nItem, const QString& text, int nImage, quintptr lParam,
                   const QByteArray& native = QByteArray());
    bool DeleteItem(int nItem);
    // Removes an item without freeing its value, which is handed to the caller: it goes
    // back with InsertItem or is freed with FreeItemData. 0 when there is no such item.
    quintptr TakeItem(int nItem);
    void FreeItemData(quintptr lParam) const;
    void DeleteAllItems();
    // Removes every item at once, as DeleteAllItems does, and frees the items and their values
    // a few thousand per turn of the event loop: freeing a hundred thousand at once (and the
    // allocator's tidying up after them) would hold the window up for tens of milliseconds.
    void RetireAllItems();
    // Items removed but not yet freed.
    int RetiredCount() const { return int(m_retired.size()); }
    // While held, removed items wait to be freed: freeing between the turns that add a
    // folder's items made each later allocation slower, and the listing with it.
    void HoldFreeing(bool bHold);
    bool SetItemText(int nItem, const QString& text);
    QString ItemText(int nItem) const;
    int ItemImage(int nItem) const;
    quintptr ItemData(int nItem) const;
    QByteArray ItemNative(int nItem) const;
    // The first item with this path, or -1.
    int FindNative(const QByteArray& native) const;
    // Sorts with a comparison of item values (negative: the first comes first). Equal
    // items keep their order. With `sortKey`, items are ordered by their keys' bytes
    // first and `compare` only decides between equal keys: the keys must agree with
    // `compare` wherever they differ.
    void SortItems(Compare compare, quintptr lParamSort, SortKey sortKey = nullptr);
    // The order SortItems would give: for each place, the row that goes there.
    std::vector<int> SortedOrder(Compare compare, quintptr lParamSort, SortKey sortKey) const;
    // Puts row order[i] at place i (a permutation of every row; anything else is ignored).
    // Persistent indexes follow their rows. Where the order keeps the first nKept rows in
    // their order (rows added after a sorted list merged in), the rows are moved in place.
    void ApplyOrder(const std::vector<int>& order, int nKept = 0);

    void BeginBatch();
    void EndBatch();

private:
    QSize m_itemSize;
    struct Row {
        QString text;
        int image;
        quintptr lParam;
        QByteArray native;
    };
    bool IsValid(int nItem) const { return nItem >= 0 && nItem < Count(); }
    void FreeRows();
    void FreeRetired(qsizetype nMost);
    void FreeRetiredTurn();
    void PostFreeTurn();
    bool IsPermutation(const std::vector<int>& order) const;
    static bool KeepsOrder(const std::vector<int>& order, int nKept);
    void MergeInPlace(const std::vector<int>& order, int nKept);

    QList<Row> m_rows;
    QList<Row> m_retired; // removed, freed from the end
    bool m_bFreePosted = false;
    bool m_bFreeingHeld = false;
    Deleter m_deleter = nullptr;
    CSystemImageList* m_pImageList = nullptr;
    int m_nBatch = 0;
};

#pragma once

#include <QStyledItemDelegate>

class CListCtrlModel;
class CThumbnailLoader;

// Paints a picture of the filmstrip: its thumbnail fitted and centred in the cell, a frame
// in the highlight colour around the selected ones. A thumbnail not made yet is asked of
// the loader and a plain placeholder drawn meanwhile; painting never waits.
class CFilmstripDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    CFilmstripDelegate(const CListCtrlModel& model, CThumbnailLoader& loader,
                       QObject* parent = nullptr);

    void SetCellSize(QSize size) { m_cell = size; }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    static QRect Fitted(QSize image, const QRect& room);

    const CListCtrlModel& m_model;
    CThumbnailLoader& m_loader;
    QSize m_cell{112, 96};
};

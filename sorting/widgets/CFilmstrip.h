#pragma once

#include <QListView>

class CFilmstripDelegate;
class CListCtrlModel;
class CThumbnailLoader;
class QItemSelectionModel;

// The filmstrip: the listed pictures as thumbnails in one row, on the sort session's rows
// and selection, so that it always marks what the picture list marks and keeps the current
// picture in view (centred when it can). It never takes the keyboard focus: the keys stay
// with the picture list, where the digits, Space and Delete sort. A click does not select
// here: it tells the owner the row (RowClicked), who selects it in the picture list, so a
// picture chosen in the strip is shown exactly as one clicked in the list.
class CFilmstrip : public QListView {
    Q_OBJECT
public:
    CFilmstrip(CListCtrlModel& model, QItemSelectionModel& selection, CThumbnailLoader& loader,
               QWidget* parent = nullptr);

    // The height the strip asks for: one row of cells and a scroll bar.
    QSize sizeHint() const override;
    CThumbnailLoader& Loader() const { return m_loader; }

Q_SIGNALS:
    void RowClicked(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void OnThumbnailReady();
    void KeepCurrentInView();

    CThumbnailLoader& m_loader;
    CFilmstripDelegate* m_pDelegate;
};

#include "sorting/widgets/CFilmstrip.h"

#include "browser/controls/CListCtrlModel.h"
#include "picture/thumbs/CThumbnailLoader.h"
#include "sorting/widgets/CFilmstripDelegate.h"

#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
const QSize kCell(112, 96);
} // namespace

CFilmstrip::CFilmstrip(CListCtrlModel& model, QItemSelectionModel& selection,
                       CThumbnailLoader& loader, QWidget* parent)
    : QListView(parent), m_loader(loader),
      m_pDelegate(new CFilmstripDelegate(model, loader, this)) {
    setObjectName(QStringLiteral("CFilmstrip"));
    setAccessibleName(tr("Filmstrip"));
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(false);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setBatchSize(500);
    setSpacing(0);
    setFocusPolicy(Qt::NoFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pDelegate->SetCellSize(kCell);
    setItemDelegate(m_pDelegate);
    setModel(&model);
    setSelectionModel(&selection);
    connect(&selection, &QItemSelectionModel::currentChanged, this, &CFilmstrip::KeepCurrentInView);
    // The list sorted again (Sort By): the current picture stays in view where it went.
    connect(&model, &QAbstractItemModel::layoutChanged, this, &CFilmstrip::KeepCurrentInView);
    connect(&loader, &CThumbnailLoader::Ready, this, &CFilmstrip::OnThumbnailReady);
    // Another folder: what waits for the old one is no longer wanted.
    connect(&model, &QAbstractItemModel::modelReset, &loader, &CThumbnailLoader::DropWaiting);
}

QSize CFilmstrip::sizeHint() const {
    const int bar = horizontalScrollBar()->sizeHint().height();
    return QSize(QListView::sizeHint().width(), kCell.height() + bar + 2 * frameWidth());
}

void CFilmstrip::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        Q_EMIT RowClicked(index.row());
}

// Dragging and releasing select nothing: the click alone chooses.
void CFilmstrip::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
}
void CFilmstrip::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}
void CFilmstrip::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
}

// The wheel scrolls along the strip.
void CFilmstrip::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const int steps = delta.y() != 0 ? delta.y() : delta.x();
    QScrollBar* bar = horizontalScrollBar();
    bar->setValue(bar->value() - steps * kCell.width() / 120);
    event->accept();
}

// Only the cells on screen are painted again; a thumbnail of another one waits in memory.
void CFilmstrip::OnThumbnailReady() {
    viewport()->update();
}

void CFilmstrip::showEvent(QShowEvent* event) {
    QListView::showEvent(event);
    KeepCurrentInView();
}

void CFilmstrip::KeepCurrentInView() {
    const QModelIndex current = selectionModel()->currentIndex();
    if (current.isValid() && isVisible())
        scrollTo(current, QAbstractItemView::PositionAtCenter);
}

#include "sorting/widgets/CFilmstripDelegate.h"

#include "browser/controls/CListCtrlModel.h"
#include "picture/thumbs/CThumbnailLoader.h"

#include <QPainter>

namespace {
constexpr int kMargin = 4; // room for the highlight frame around a thumbnail
constexpr int kFrame = 3;
} // namespace

CFilmstripDelegate::CFilmstripDelegate(const CListCtrlModel& model, CThumbnailLoader& loader,
                                       QObject* parent)
    : QStyledItemDelegate(parent), m_model(model), m_loader(loader) {
}

QSize CFilmstripDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return m_cell;
}

void CFilmstripDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QRect room = option.rect.adjusted(kMargin, kMargin, -kMargin, -kMargin);
    const QByteArray path = m_model.ItemNative(index.row());
    const QImage image = path.isEmpty() ? QImage() : m_loader.Thumbnail(path);
    painter->save();
    QRect drawn =
        room.adjusted(room.width() / 6, room.height() / 6, -room.width() / 6, -room.height() / 6);
    if (!image.isNull()) {
        drawn = Fitted(image.size(), room);
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        painter->drawImage(drawn, image);
    } else {
        painter->fillRect(drawn, option.palette.color(QPalette::Mid));
    }
    if (option.state & QStyle::State_Selected) {
        QPen pen(option.palette.color(QPalette::Highlight), kFrame);
        pen.setJoinStyle(Qt::MiterJoin);
        painter->setPen(pen);
        painter->drawRect(drawn.adjusted(-1, -1, 0, 0));
    }
    painter->restore();
}

// The rectangle of an image of `image` pixels scaled to fit `room`, centred in it.
QRect CFilmstripDelegate::Fitted(QSize image, const QRect& room) {
    const QSize size = image.scaled(room.size(), Qt::KeepAspectRatio);
    return QRect(room.center() - QPoint(size.width() / 2, size.height() / 2), size);
}

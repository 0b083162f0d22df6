#include "browser/controls/CItemLabelHitTest.h"

#include <QStyle>
#include <QWidget>

bool CItemLabelHitTest::IsOnLabel(const QWidget* view, QStyleOptionViewItem option,
                                  const QPoint& pos) {
    option.features |= QStyleOptionViewItem::HasDisplay;
    if (!option.icon.isNull())
        option.features |= QStyleOptionViewItem::HasDecoration;
    QRect text = view->style()->subElementRect(QStyle::SE_ItemViewItemText, &option, view);
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const int width = option.fontMetrics.horizontalAdvance(option.text) + 2 * margin;
    if (width < text.width()) { // the text stands at the start of its line
        if (option.direction == Qt::RightToLeft)
            text.setLeft(text.right() + 1 - width);
        else
            text.setWidth(width);
    }
    return text.contains(pos);
}

#pragma once

#include <QStyleOptionViewItem>

class QWidget;

// Whether a point falls on an item's text (not its icon, its expand button or the empty
// part of its row), as the style lays the item out.
class CItemLabelHitTest {
public:
    // `option` is the item's style option with its rect set (the views fill it in with
    // their own initViewItemOption); `pos` is in the same coordinates as option.rect.
    static bool IsOnLabel(const QWidget* view, QStyleOptionViewItem option, const QPoint& pos);
};

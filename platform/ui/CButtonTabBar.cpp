#include "platform/ui/CButtonTabBar.h"

#include <QStyleOptionButton>
#include <QStylePainter>

CButtonTabBar::CButtonTabBar(QWidget* parent) : QTabBar(parent) {
    setFocusPolicy(Qt::NoFocus);
    setDrawBase(false);
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
}

void CButtonTabBar::SetItemSize(const QSize& size) {
    m_itemSize = size;
    updateGeometry();
    update();
}

void CButtonTabBar::SetPadding(const QSize& padding) {
    m_padding = padding;
    updateGeometry();
    update();
}

QSize CButtonTabBar::tabSizeHint(int index) const {
    if (m_itemSize.isValid())
        return m_itemSize;
    const QSize label = fontMetrics().size(Qt::TextSingleLine, tabText(index));
    return label + 2 * m_padding;
}

QSize CButtonTabBar::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

void CButtonTabBar::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = tabRect(i);
        button.state &= ~QStyle::State_HasFocus;
        if (!isTabEnabled(i))
            button.state &= ~QStyle::State_Enabled;
        button.state |=
            i == currentIndex() ? QStyle::State_Sunken | QStyle::State_On : QStyle::State_Raised;
        painter.drawControl(QStyle::CE_PushButtonBevel, button);
        const QRect label = button.rect.adjusted(m_padding.width(), m_padding.height(),
                                                 -m_padding.width(), -m_padding.height());
        painter.drawItemText(label, Qt::AlignLeft | Qt::AlignVCenter, palette(),
                             isTabEnabled(i) && isEnabled(), tabText(i), QPalette::ButtonText);
    }
}

#include "browser/CListScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace {
// Room for a handle's outline or shadow drawn just outside its rectangle.
constexpr int kHandleMargin = 3;
} // namespace

void CListScrollBar::sliderChange(SliderChange change) {
    const Shown now = Current();
    if (!m_bPainted || now.bAtMinimum != m_shown.bAtMinimum ||
        now.bAtMaximum != m_shown.bAtMaximum) { // the arrows may change as well
        QScrollBar::sliderChange(change);
        return;
    }
    // Only the handle moved or changed its length: the groove around it stays as it is.
    if (!(now == m_shown))
        update(now.handle.united(m_shown.handle)
                   .adjusted(-kHandleMargin, -kHandleMargin, kHandleMargin, kHandleMargin));
}

void CListScrollBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    m_shown = Current();
    m_bPainted = true;
}

CListScrollBar::Shown CListScrollBar::Current() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return Shown{
        style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
        value() == minimum(), value() == maximum()};
}

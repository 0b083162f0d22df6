#include "app/CStatusPane.h"

#include <QEvent>
#include <QPainter>
#include <QtMath>
#include <algorithm>

CStatusPane::CStatusPane(const QString& text, QWidget* parent) : QFrame(parent) {
    m_layout.setTextFormat(Qt::PlainText);
    // Paths and figures need no shaping; skipping it keeps a new text cheap to lay out.
    QFont plain;
    plain.setStyleStrategy(QFont::PreferNoShaping);
    setFont(plain);
    SetText(text);
}

// A new text that begins like the old one repaints from where they part: a path that
// changes in its file name only does not draw the folders again.
void CStatusPane::SetText(const QString& text) {
    if (text == m_text)
        return;
    const int from = isVisible() ? UnchangedWidth(m_text, text) : 0;
    m_text = text;
    m_layout.setText(text);
    if (from > 0)
        update(QRect(QPoint(from, 0), QPoint(width() - 1, height() - 1)));
    else
        update();
}

// How far from the left the pane shows the same in both texts: up to the last letter
// they share (whose ink may reach into the next). Zero where that cannot be told by
// adding up letters (text that is shaped, or runs right to left).
int CStatusPane::UnchangedWidth(const QString& before, const QString& after) const {
    if (layoutDirection() != Qt::LeftToRight)
        return 0;
    const qsizetype shared = std::min(before.size(), after.size());
    qsizetype same = 0;
    while (same < shared && before[same] == after[same])
        ++same;
    if (same < 2)
        return 0;
    const QFontMetrics metrics = fontMetrics();
    int width = contentsRect().left() + Indent();
    for (qsizetype i = 0; i + 1 < same; ++i) {
        if (after[i].unicode() >= 0x0300)
            return 0;
        width += metrics.horizontalAdvance(after[i]);
    }
    return width;
}

int CStatusPane::Indent() const {
    // A framed pane keeps its text half a letter away from the frame.
    return frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
}

QSize CStatusPane::sizeHint() const {
    return minimumSizeHint();
}

QSize CStatusPane::minimumSizeHint() const {
    const int frame = 2 * frameWidth();
    return QSize(frame + 1, fontMetrics().height() + frame);
}

void CStatusPane::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (m_text.isEmpty())
        return;
    const QRect area = contentsRect();
    const int indent = Indent();
    QPainter painter(this);
    painter.setClipRect(area);
    painter.setPen(palette().color(QPalette::WindowText));
    const int top = area.top() + (area.height() - fontMetrics().height()) / 2;
    const int left = layoutDirection() == Qt::RightToLeft
                         ? area.right() + 1 - indent - qCeil(m_layout.size().width())
                         : area.left() + indent;
    painter.drawStaticText(QPoint(left, top), m_layout);
}

void CStatusPane::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_layout.setText(m_text); // laid out again in the new font
        updateGeometry();
    }
}

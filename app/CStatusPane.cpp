#include "app/CStatusPane.h"

#include <QEvent>
#include <QPainter>
#include <QtMath>

CStatusPane::CStatusPane(const QString& text, QWidget* parent) : QFrame(parent) {
    m_layout.setTextFormat(Qt::PlainText);
    // Paths and figures need no shaping; skipping it keeps a new text cheap to lay out.
    QFont plain;
    plain.setStyleStrategy(QFont::PreferNoShaping);
    setFont(plain);
    SetText(text);
}

void CStatusPane::SetText(const QString& text) {
    if (text == m_text)
        return;
    m_text = text;
    m_layout.setText(text);
    update();
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
    // A framed pane keeps its text half a letter away from the frame.
    const int indent = frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
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

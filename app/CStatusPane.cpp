#include "app/CStatusPane.h"

#include "platform/CPlainText.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QtMath>
#include <algorithm>

CStatusPane::CStatusPane(const QString& text, QWidget* parent) : QFrame(parent) {
    m_layout.setTextFormat(Qt::PlainText);
    // Paths and figures need no shaping; skipping it keeps a new text cheap to lay out.
    QFont plain;
    plain.setStyleStrategy(QFont::PreferNoShaping);
    plain.setKerning(false); // so that the widths of letters add up (see ChangedArea)
    setFont(plain);
    // Drawing its own background spares the status bar under it a repaint at every new text.
    setAutoFillBackground(true);
    SetText(text);
}

CStatusPane::~CStatusPane() = default;

// A new text repaints only where it differs from the old one: from the first letter that
// changes to the last, when what follows keeps its place (a path whose file name changes
// from IMG_0002 to IMG_0003), or else to the end.
void CStatusPane::SetText(const QString& text) {
    if (text == m_text)
        return;
    const QRect changed = ChangedArea(m_text, text);
    m_text = text;
    m_layout.setText(text);
    if (changed.isValid())
        update(changed);
    else
        update();
}

// The part of the pane that shows something else after the change; invalid where that
// cannot be told by adding up the widths of letters (text that is shaped, or runs right
// to left) and the whole pane must be drawn again. A letter's ink may reach into its
// neighbours, so one letter more is taken on each side.
QRect CStatusPane::ChangedArea(const QString& before, const QString& after) const {
    if (!isVisible() || layoutDirection() != Qt::LeftToRight || !Plain().Handles(before) ||
        !Plain().Handles(after))
        return QRect();
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const qsizetype from = std::max<qsizetype>(0, head - 1);
    const qreal origin = contentsRect().left() + Indent();
    const qreal left = origin + Advance(after, 0, from);
    qreal right = width();
    if (Advance(before, head, before.size() - tail) == Advance(after, head, after.size() - tail)) {
        const qsizetype to = std::min(after.size(), after.size() - tail + 1);
        right = std::min(right, left + Advance(after, from, to) + 1);
    }
    const int x = qFloor(left);
    return QRect(x, 0, qCeil(right) - x, height());
}

// The width of letters [from, to) of a text set in one line without shaping.
qreal CStatusPane::Advance(const QString& text, qsizetype from, qsizetype to) const {
    return Plain().Width(QStringView(text).mid(from, to - from));
}

const CPlainText& CStatusPane::Plain() const {
    if (!m_plain)
        m_plain = std::make_unique<CPlainText>(font());
    return *m_plain;
}

// Draws the letters of a text set without shaping that reach into `exposed`, and one more
// on each side, where the whole text would put them.
void CStatusPane::DrawLettersIn(QPainter& painter, QPointF baseline, const QRect& exposed) const {
    const qsizetype count = m_text.size();
    const CPlainText& plain = Plain();
    qsizetype first = 0;
    while (first < count && baseline.x() + plain.LetterWidth(m_text[first]) < exposed.left()) {
        baseline.rx() += plain.LetterWidth(m_text[first]);
        ++first;
    }
    if (first > 0)
        baseline.rx() -= plain.LetterWidth(m_text[--first]);
    qsizetype last = first;
    for (qreal x = baseline.x(); last < count && x <= exposed.right() + 1; ++last)
        x += plain.LetterWidth(m_text[last]);
    plain.Draw(painter, baseline,
               QStringView(m_text).mid(first, std::min(count, last + 1) - first));
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
    QPainter painter(this);
    drawFrame(&painter);
    if (m_text.isEmpty())
        return;
    const QRect area = contentsRect();
    const int indent = Indent();
    painter.setClipRect(area);
    painter.setPen(palette().color(QPalette::WindowText));
    const int top = area.top() + (area.height() - fontMetrics().height()) / 2;
    if (layoutDirection() == Qt::LeftToRight && Plain().Handles(m_text)) {
        const QPointF baseline(area.left() + indent, top + QFontMetricsF(font()).ascent());
        DrawLettersIn(painter, baseline, event->rect());
        return;
    }
    const int left = layoutDirection() == Qt::RightToLeft
                         ? area.right() + 1 - indent - qCeil(m_layout.size().width())
                         : area.left() + indent;
    painter.drawStaticText(QPoint(left, top), m_layout);
}

void CStatusPane::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_layout.setText(m_text); // laid out again in the new font
        m_plain.reset();
        updateGeometry();
    }
}

#include "platform/ui/CFullScreenOverlay.h"

#include <QAccessible>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace {
QLabel* NewLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText); // names are never markup
    return label;
}
} // namespace

CFullScreenOverlay::CFullScreenOverlay(QWidget* over)
    : QFrame(over), m_heading(NewLabel(QString(), this)), m_rows(new QGridLayout),
      m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("fullScreenOverlay"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAutoFillBackground(true);
    QPalette dark = palette();
    dark.setColor(QPalette::Window, QColor(24, 24, 24)); // opaque: nothing shows through
    dark.setColor(QPalette::WindowText, QColor(235, 235, 235));
    setPalette(dark);
    QFont bold = m_heading->font();
    bold.setBold(true);
    m_heading->setFont(bold);
    auto* column = new QVBoxLayout(this);
    column->addWidget(m_heading);
    column->addLayout(m_rows);
    m_rows->setHorizontalSpacing(12);
    m_rows->setColumnStretch(4, 1); // keys and names as narrow as they are, the room after them
    m_timer->setSingleShot(true);
    m_timer->setInterval(kShowMs);
    connect(m_timer, &QTimer::timeout, this, &QWidget::hide);
    over->installEventFilter(this);
    hide();
}

void CFullScreenOverlay::ShowFor(const QString& heading, const Rows& rows) {
    hide(); // labels added to a shown panel stay hidden until later, and are not measured
    m_heading->setText(heading);
    m_heading->setVisible(!heading.isEmpty());
    while (QLayoutItem* item = m_rows->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    for (int i = 0; i < rows.size(); ++i) {
        m_rows->addWidget(NewLabel(rows[i].first, this), i / 2, (i % 2) * 2);
        m_rows->addWidget(NewLabel(rows[i].second, this), i / 2, (i % 2) * 2 + 1);
    }
    setAccessibleName(heading);
    FitToParent();
    raise();
    show();
    m_timer->start();
    QAccessibleEvent shown(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&shown);
}

QString CFullScreenOverlay::Heading() const {
    return m_heading->text();
}

QStringList CFullScreenOverlay::RowTexts() const {
    QStringList texts;
    for (int i = 0; i + 1 < m_rows->count(); i += 2)
        texts.append(static_cast<QLabel*>(m_rows->itemAt(i)->widget())->text() + QLatin1Char(' ') +
                     static_cast<QLabel*>(m_rows->itemAt(i + 1)->widget())->text());
    return texts;
}

bool CFullScreenOverlay::IsCounting() const {
    return isVisible() && m_timer->isActive();
}

// Centred along the bottom edge, as wide as it needs and at most the parent's width.
void CFullScreenOverlay::FitToParent() {
    const QWidget* parent = parentWidget();
    layout()->invalidate(); // rows were replaced: measure them afresh
    layout()->activate();
    const QSize wanted = layout()->sizeHint();
    const int width = std::min(wanted.width(), parent->width() - 24);
    setGeometry((parent->width() - width) / 2, parent->height() - wanted.height() - 24, width,
                wanted.height());
}

bool CFullScreenOverlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
        FitToParent();
    return QFrame::eventFilter(watched, event);
}

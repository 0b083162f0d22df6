#include "platform/ui/CMessageBar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPropertyAnimation>
#include <QTimer>
#include <QToolButton>

namespace {
constexpr int kMargin = 8; // between the bar and the edges of what it lies over
constexpr int kRadius = 4;

// Screen readers present an alert when it shows, with its name: the message.
QAccessibleInterface* AlertFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("CMessageBar") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
    return nullptr;
}

QToolButton* NewButton(QWidget* parent, const char* name) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setFocusPolicy(Qt::NoFocus); // the keys stay where the person works
    button->setAutoRaise(true);
    return button;
}
} // namespace

CMessageBar::CMessageBar(QWidget* over) : QFrame(over) {
    static const bool bFactory = (QAccessible::installFactory(AlertFactory), true);
    Q_UNUSED(bFactory);
    setObjectName(QStringLiteral("messageBar"));
    setFocusPolicy(Qt::NoFocus);
    setAccessibleDescription(QCoreApplication::translate("CMessageBar", "Notification"));
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("messageText"));
    m_text->setTextFormat(Qt::PlainText); // a file name is never markup
    m_text->setWordWrap(true);
    m_action = NewButton(this, "messageAction");
    m_close = NewButton(this, "messageClose");
    m_close->setText(QStringLiteral("\u2715"));
    m_close->setToolTip(QCoreApplication::translate("CMessageBar", "Close"));
    m_close->setAccessibleName(QCoreApplication::translate("CMessageBar", "Close"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kMargin, 4, 4, 4);
    row->addWidget(m_text, 1);
    row->addWidget(m_action);
    row->addWidget(m_close);
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(kShowMs);
    connect(m_timer, &QTimer::timeout, this, &CMessageBar::StartFading);
    connect(m_action, &QToolButton::clicked, this, [this] {
        Dismiss();
        Q_EMIT ActionClicked();
    });
    connect(m_close, &QToolButton::clicked, this, &CMessageBar::Dismiss);
    over->installEventFilter(this);
    hide();
}

void CMessageBar::SetActionText(const QString& text, const QString& toolTip) {
    m_action->setText(text);
    m_action->setToolTip(toolTip);
}

QString CMessageBar::Text() const {
    return m_text->text();
}

bool CMessageBar::OffersAction() const {
    return !m_action->isHidden();
}

bool CMessageBar::IsCountingDown() const {
    return isVisible() && m_timer->isActive();
}

void CMessageBar::StopFading() {
    if (m_fade)
        m_fade->stop();
    setGraphicsEffect(nullptr); // drawn directly again, at full strength
    m_fade = nullptr;
}

void CMessageBar::ShowMessage(const QString& text, bool bOfferAction) {
    StopFading();
    m_text->setText(text);
    setAccessibleName(text);
    m_action->setVisible(bOfferAction);
    FitToParent();
    raise();
    show();
    m_timer->start();
    Announce();
    Q_EMIT MessageShown(text);
}

void CMessageBar::Announce() {
    QAccessibleEvent shown(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&shown);
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
}

void CMessageBar::Dismiss() {
    m_timer->stop();
    StopFading();
    hide();
}

void CMessageBar::StartFading() {
    m_timer->stop();
    if (!isVisible() || m_fade)
        return;
    auto* effect = new QGraphicsOpacityEffect(this);
    setGraphicsEffect(effect);
    m_fade = new QPropertyAnimation(effect, "opacity", effect);
    m_fade->setDuration(kFadeMs);
    m_fade->setStartValue(1.0);
    m_fade->setEndValue(0.0);
    // Hidden, but the animation lives on with its effect until the next message: it is
    // never deleted while it signals.
    connect(m_fade, &QPropertyAnimation::finished, this, &QWidget::hide);
    m_fade->start();
}

// The pointer on the bar holds it, so that its button can be reached; it fades once the
// pointer has left.
void CMessageBar::enterEvent(QEnterEvent* event) {
    QFrame::enterEvent(event);
    StopFading();
    m_timer->stop();
}

void CMessageBar::leaveEvent(QEvent* event) {
    QFrame::leaveEvent(event);
    if (isVisible() && !m_fade)
        m_timer->start();
}

void CMessageBar::FitToParent() {
    const QWidget* over = parentWidget();
    const int width = std::max(over->width() - 2 * kMargin, 1);
    const int height = hasHeightForWidth() ? heightForWidth(width) : sizeHint().height();
    setGeometry(kMargin, kMargin, width, height);
}

bool CMessageBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        FitToParent();
    return QFrame::eventFilter(watched, event);
}

void CMessageBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    QColor fill = pal.color(QPalette::Highlight);
    const QColor base = pal.color(QPalette::Window);
    // A light tint of the highlight over the window colour, framed by the highlight itself.
    fill.setRgbF(0.2f * fill.redF() + 0.8f * base.redF(),
                 0.2f * fill.greenF() + 0.8f * base.greenF(),
                 0.2f * fill.blueF() + 0.8f * base.blueF());
    p.setBrush(fill);
    p.setPen(QPen(pal.color(QPalette::Highlight), 1.5));
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), kRadius, kRadius);
}

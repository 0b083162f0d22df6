#include "app/CSplashWnd.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

CSplashWnd::CSplashWnd(const QPixmap& bitmap)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_bmpSplash(bitmap) {
    setObjectName(QStringLiteral("CSplashWnd"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(bitmap.deviceIndependentSize().toSize());
}

CSplashWnd::~CSplashWnd() {
    if (s_pSplash == this)
        s_pSplash = nullptr;
    qApp->removeEventFilter(this);
}

void CSplashWnd::ShowSplash(QWidget* pParentWnd, const QString& bitmap) {
    if (!s_bSplashEnabled || s_pSplash)
        return;
    const QPixmap pixmap(bitmap);
    if (pixmap.isNull())
        return;
    s_pSplash = new CSplashWnd(pixmap);
    s_pSplash->m_pOwner = pParentWnd;
    s_pSplash->CenterOn(pParentWnd);
    qApp->installEventFilter(s_pSplash);
    QTimer::singleShot(kDisplayMs, s_pSplash, &CSplashWnd::HideSplash);
    s_pSplash->show();
    s_pSplash->repaint();
}

void CSplashWnd::CenterOn(const QWidget* owner) {
    // Over the owner when it is on show, otherwise in the middle of the work area.
    QRect area;
    if (owner && owner->isVisible() && !owner->isMinimized())
        area = owner->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    QRect r(QPoint(0, 0), size());
    r.moveCenter(area.center());
    move(r.topLeft());
}

void CSplashWnd::HideSplash() {
    qApp->removeEventFilter(this);
    if (s_pSplash == this)
        s_pSplash = nullptr;
    close(); // deletes itself
    if (m_pOwner)
        m_pOwner->repaint();
}

bool CSplashWnd::FilterAppMessage(QObject*, QEvent* event) {
    if (!s_pSplash)
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claim the key so that no shortcut fires; the key press that follows ends the splash.
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        s_pSplash->HideSplash();
        return true;
    default:
        return false;
    }
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event) {
    return FilterAppMessage(watched, event) || QWidget::eventFilter(watched, event);
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_bmpSplash);
}

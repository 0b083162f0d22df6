#include "app/CFrameKeeper.h"

#include "settings/CSettings.h"
#include "settings/WindowRect.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

CFrameKeeper::CFrameKeeper(QWidget& window, const CSettings& settings)
    : QObject(&window), m_window(window) {
    MoveToStoredRect(settings);
}

void CFrameKeeper::MoveToStoredRect(const CSettings& settings) {
    QList<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens.append(primary->availableGeometry());
    for (QScreen* s : QGuiApplication::screens())
        if (s != QGuiApplication::primaryScreen())
            screens.append(s->availableGeometry());
    m_placement = WindowPlacement(CorrectWindowRect(settings.GetWindowRectSetting(), screens));
    if (settings.GetMaximized())
        m_placement.StartMaximised(); // see CWindowMemory
    const QRect client = m_placement.InitialClient();
    m_window.move(client.topLeft());
    m_window.resize(client.size());
}

QMargins CFrameKeeper::FrameMargins() const {
    const QRect frame = m_window.frameGeometry(), inner = m_window.geometry();
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                    frame.right() - inner.right(), frame.bottom() - inner.bottom());
}

bool CFrameKeeper::InNormalState() const {
    return !(m_window.windowState() &
             (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen));
}

void CFrameKeeper::Fit() {
    if (!m_window.isVisible())
        return;
    const QRect client =
        m_placement.OnGeometry(FrameMargins(), m_window.geometry(), InNormalState());
    if (!client.isValid())
        return;
    m_window.resize(client.size());
    m_window.move(m_placement.Outer().topLeft()); // a window's position is its frame's
}

QRect CFrameKeeper::RectForSaving() const {
    if (!m_window.isVisible())
        return m_placement.Outer();
    return m_placement.ForSaving(FrameMargins(), m_window.geometry(), m_window.normalGeometry(),
                                 InNormalState());
}

void CFrameKeeper::OnShown() {
    Fit();
    if (!m_bFirstShow)
        return;
    m_bFirstShow = false;
    Poll();
}

void CFrameKeeper::OnGeometry() {
    Fit();
}

// A window started maximised learns its normal frame only when it is first restored.
void CFrameKeeper::OnStateChanged() {
    if (m_window.isVisible() && InNormalState() && !m_placement.Settled())
        Poll();
}

void CFrameKeeper::Poll() {
    auto* poll = new QTimer(this);
    poll->setInterval(50);
    connect(poll, &QTimer::timeout, this, [this, poll, left = 100]() mutable {
        Fit();
        if (m_placement.Settled() || --left <= 0)
            poll->deleteLater();
    });
    poll->start();
}

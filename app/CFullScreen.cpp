#include "app/CFullScreen.h"

#include "picture/view/CImageCtrl.h"
#include "platform/ui/CFullScreenOverlay.h"
#include "platform/ui/CMessageBar.h"
#include "resources/CommandIds.h"
#include "resources/CommandTable.h"
#include "settings/CSettings.h"
#include "sorting/widgets/CPictureList.h"

#include <QAction>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

CFullScreen::CFullScreen(const Seams& seams, QObject* parent)
    : QObject(parent), m_seams(seams),
      m_overlay(new CFullScreenOverlay(seams.ctrl->parentWidget())) {
    m_seams.toggle->setCheckable(true);
    connect(m_seams.toggle, &QAction::triggered, this, &CFullScreen::Toggle);
    connect(m_seams.messages, &CMessageBar::MessageShown, this, [this](const QString& text) {
        if (!m_bOn)
            return;
        m_seams.messages->Dismiss(); // the overlay tells it, with the destinations
        ShowOverlay(text);
    });
}

void CFullScreen::Toggle() {
    if (m_bOn)
        Leave();
    else
        Enter();
}

void CFullScreen::Enter() {
    if (m_bOn)
        return;
    m_bOn = true;
    m_saved.sizes = m_seams.panes->sizes();
    m_saved.state = m_seams.window->windowState();
    HideAround();
    m_saved.palette = m_seams.ctrl->palette();
    QPalette dark = m_saved.palette;
    dark.setColor(QPalette::Window, QColor(16, 16, 16));
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    m_seams.ctrl->setPalette(dark);
    // Escape leaves full screen rather than clearing the picture.
    m_saved.toggleKeys = m_seams.toggle->shortcuts();
    m_saved.clearKeys = m_seams.clear->shortcuts();
    QList<QKeySequence> clearKeys = m_saved.clearKeys;
    clearKeys.removeAll(QKeySequence(Qt::Key_Escape));
    m_seams.clear->setShortcuts(clearKeys);
    m_seams.toggle->setShortcuts(m_saved.toggleKeys + QList{QKeySequence(Qt::Key_Escape)});
    m_seams.toggle->setChecked(true);
    m_seams.window->setWindowState(m_saved.state | Qt::WindowFullScreen);
    m_seams.ctrl->installEventFilter(this);
    m_seams.list->installEventFilter(this);
    m_seams.ctrl->setFocus();
    ShowOverlay(QString());
}

// The menu bar, tool bars, status bar and side panes that are shown now.
void CFullScreen::HideAround() {
    QList<QWidget*> around{m_seams.window->menuBar(), m_seams.window->statusBar()};
    for (QToolBar* bar : m_seams.window->findChildren<QToolBar*>())
        around.append(bar);
    for (int i = 0; i < m_seams.panes->count(); ++i)
        if (!m_seams.panes->widget(i)->isAncestorOf(m_seams.ctrl))
            around.append(m_seams.panes->widget(i));
    m_saved.hidden.clear();
    for (QWidget* widget : std::as_const(around))
        if (widget && widget->isVisible()) {
            m_saved.hidden.append(widget);
            widget->hide();
        }
}

void CFullScreen::Leave() {
    if (!m_bOn)
        return;
    m_bOn = false;
    m_seams.ctrl->removeEventFilter(this);
    m_seams.list->removeEventFilter(this);
    m_overlay->hide();
    m_seams.window->setWindowState(m_saved.state);
    for (QWidget* widget : std::as_const(m_saved.hidden))
        widget->show();
    m_seams.panes->setSizes(m_saved.sizes);
    m_seams.ctrl->setPalette(m_saved.palette);
    m_seams.toggle->setShortcuts(m_saved.toggleKeys);
    m_seams.clear->setShortcuts(m_saved.clearKeys);
    m_seams.toggle->setChecked(false);
    m_seams.list->setFocus();
}

void CFullScreen::ShowOverlay(const QString& heading) {
    CFullScreenOverlay::Rows rows;
    for (int i = 0; i < cmd::kSendToTargetCount; ++i) {
        const QString name = m_seams.settings->GetTargetName(i);
        if (name.isEmpty() || m_seams.settings->GetTargetDir(i).isEmpty())
            continue; // a destination without a folder takes nothing
        const QKeySequence key(commands::PrimaryKey(cmd::ID_SEND_TO_TARGET1 + i));
        rows.append({key.toString(QKeySequence::NativeText), name});
    }
    m_overlay->ShowFor(heading.isEmpty() ? tr("Full screen: Escape leaves") : heading, rows);
}

void CFullScreen::Step(int delta) {
    CPictureList& list = *m_seams.list;
    const int count = list.GetItemCount();
    if (count <= 0)
        return;
    const int now = list.GetCurItem();
    const int next = now < 0 ? 0 : std::clamp(now + delta, 0, count - 1);
    if (next != now)
        list.SelectItem(next, true);
}

// Up and Down step through the pictures, as they do in the list; the rest goes on to the
// picture (the sideways arrows move a zoomed one). The hidden list, given the focus back
// after a command, hands it on to the picture.
bool CFullScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_seams.list && event->type() == QEvent::FocusIn) {
        QMetaObject::invokeMethod(m_seams.ctrl, qOverload<>(&QWidget::setFocus),
                                  Qt::QueuedConnection);
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Down:
        Step(1);
        return true;
    case Qt::Key_Up:
        Step(-1);
        return true;
    case Qt::Key_PageDown:
        Step(5);
        return true;
    case Qt::Key_PageUp:
        Step(-5);
        return true;
    default:
        return false;
    }
}

#include "app/CPaneFocus.h"

#include "platform/ui/CFocusFrame.h"

#include <QApplication>
#include <QWidget>

CPaneFocus::CPaneFocus(QWidget* window)
    : QObject(window), m_window(window), m_frame(new CFocusFrame(window)) {
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
}

void CPaneFocus::AddPane(QWidget* pane, const QString& name) {
    if (!name.isEmpty())
        pane->setAccessibleName(name);
    m_panes.append(pane);
    OnFocusChanged(m_window->focusWidget());
}

int CPaneFocus::PaneOf(const QWidget* widget) const {
    for (int i = 0; widget && i < m_panes.size(); ++i)
        if (m_panes.at(i) == widget || m_panes.at(i)->isAncestorOf(widget))
            return i;
    return -1;
}

int CPaneFocus::Current() const {
    return PaneOf(m_window->focusWidget());
}

void CPaneFocus::Cycle(int step) {
    const int count = int(m_panes.size());
    if (count == 0)
        return;
    const int current = Current();
    const int next =
        current < 0 ? (step > 0 ? 0 : count - 1) : (current + step % count + count) % count;
    FocusInto(m_panes.at(next));
}

// A pane that takes the focus itself gets it; a pane of buttons gives it to its first
// button that can have it; a pane of neither (the picture) takes it all the same, so that
// the round has no gap.
void CPaneFocus::FocusInto(QWidget* pane) {
    if (!(pane->focusPolicy() & Qt::TabFocus)) {
        for (QWidget* w = pane->nextInFocusChain(); w && w != pane; w = w->nextInFocusChain()) {
            if (pane->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
                w->isVisibleTo(pane)) {
                w->setFocus(Qt::TabFocusReason);
                return;
            }
        }
    }
    pane->setFocus(Qt::TabFocusReason);
}

// Focus elsewhere in the window (the toolbar) takes the frame away; focus in another
// window (a dialog) leaves it where it was.
void CPaneFocus::OnFocusChanged(QWidget* now) {
    if (now && now->window() != m_window)
        return;
    const int pane = PaneOf(now);
    m_frame->SetTarget(pane < 0 ? nullptr : m_panes.at(pane));
}

#include "app/WindowPlacement.h"

QRect WindowPlacement::OnGeometry(const QMargins& frame, const QRect& client, bool normalState) {
    if (normalState && !frame.isNull())
        m_normalFrame = frame;
    if (m_bSettled || !normalState)
        return QRect();
    if (m_bAwaitRestore) {
        if (client.size() != m_outer.size())
            return QRect();
        m_bAwaitRestore = false;
    }
    if (client.size() != m_outer.size()) {
        // Resized by the user or the window manager before the frame was known: theirs.
        m_bSettled = true;
        return QRect();
    }
    if (frame.isNull())
        return QRect(); // no frame yet, or none at all: the client is the outer rectangle
    m_bSettled = true;
    return m_outer - frame;
}

QRect WindowPlacement::ForSaving(const QMargins& frame, const QRect& client,
                                 const QRect& normalClient, bool normalState) const {
    const QRect base = normalState ? client : normalClient;
    const QMargins around = normalState || m_normalFrame.isNull() ? frame : m_normalFrame;
    if (!m_bSettled && base.size() == m_outer.size()) // the frame never came off the client
        return QRect(base.topLeft() - QPoint(around.left(), around.top()), m_outer.size());
    return base + around;
}

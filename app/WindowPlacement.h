#pragma once

#include <QMargins>
#include <QRect>

// Keeps the main window's stored outer rectangle (window manager's frame included) true run
// after run. Before the window is shown nobody knows the frame, so the window first asks for
// the whole outer rectangle as its client area, which is exact where there is no frame. The
// window manager tells the frame later, sometimes well after the first show; the first time
// it is known, and only while the client area is still the one asked for, the client shrinks
// by the frame and the frame goes to the stored corner.
class WindowPlacement {
public:
    explicit WindowPlacement(const QRect& outer = QRect()) : m_outer(outer) {}

    const QRect& Outer() const { return m_outer; }
    // The client rectangle to ask for before the first show.
    QRect InitialClient() const { return m_outer; }
    bool Settled() const { return m_bSettled; }
    // The window is shown maximised first: until it is restored to the client asked for, a
    // normal state of another size is a step of the window manager's, not the user's size.
    void StartMaximised() { m_bAwaitRestore = true; }

    // Told after every show, move and resize: the frame's margins as known now (null while
    // unknown or absent), the client rectangle, and whether the window is in its normal
    // state. Returns the client rectangle to set, once; an invalid rectangle otherwise. The
    // frame of the normal state is kept: a maximised window's frame is often thinner.
    QRect OnGeometry(const QMargins& frame, const QRect& client, bool normalState);

    // The outer rectangle to store. `normalClient` is the client rectangle of the normal
    // state (the one a maximised window goes back to), stored with the normal state's frame.
    QRect ForSaving(const QMargins& frame, const QRect& client, const QRect& normalClient,
                    bool normalState) const;

private:
    QRect m_outer;
    bool m_bSettled = false;
    bool m_bAwaitRestore = false;
    QMargins m_normalFrame; // the last frame seen in the normal state
};

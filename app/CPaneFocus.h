#pragma once

#include <QList>
#include <QObject>

class CFocusFrame;
class QWidget;

// The panes of the main window as the keyboard goes round them (F6, Shift+F6): each has
// a name for screen readers, and the one that holds the keyboard focus is framed in the
// style's highlight colour.
class CPaneFocus : public QObject {
    Q_OBJECT
public:
    explicit CPaneFocus(QWidget* window);

    // The next pane in the round; an empty name leaves the pane's own.
    void AddPane(QWidget* pane, const QString& name);
    // Gives the focus to the pane step places on from the one that has it.
    void Cycle(int step);
    // The pane that holds the keyboard focus, or -1.
    int Current() const;
    CFocusFrame* Frame() const { return m_frame; }

private:
    int PaneOf(const QWidget* widget) const;
    static void FocusInto(QWidget* pane);
    void OnFocusChanged(QWidget* now);

    QWidget* m_window;
    QList<QWidget*> m_panes;
    CFocusFrame* m_frame;
};

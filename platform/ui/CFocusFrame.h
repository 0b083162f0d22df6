#pragma once

#include <QFocusFrame>
#include <QPointer>

// A frame in the style's highlight colour drawn around one widget of a window, to show
// which pane has the keyboard focus. It lies over the widget as a child of the window
// (never of the widget, whose layout and children stay its own), lets the mouse through
// and follows the widget when it moves or changes size. Being a focus frame, it is no
// object of its own for screen readers, which are told of the focus itself.
class CFocusFrame : public QFocusFrame {
    Q_OBJECT
public:
    explicit CFocusFrame(QWidget* window);

    static constexpr int kWidth = 2;

    // The widget to frame; null hides the frame.
    void SetTarget(QWidget* target);
    QWidget* Target() const { return m_target; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Follow();
    void Watch(bool bOn);

    QPointer<QWidget> m_target;
};

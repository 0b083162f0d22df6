#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>
#include <functional>
#include <utility>

// Counts the paints a widget receives, and calls `onPaint` (where given) as each begins.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget& widget, std::function<void()> onPaint = {})
        : m_onPaint(std::move(onPaint)) {
        widget.installEventFilter(this);
    }
    int Count() const { return m_nPaints; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++m_nPaints;
            if (m_onPaint)
                m_onPaint();
        }
        return false;
    }

private:
    std::function<void()> m_onPaint;
    int m_nPaints = 0;
};

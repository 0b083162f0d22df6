#pragma once

#include <QScrollBar>

// The file list's scroll bar. Removing one file from a long list changes the range by a
// row, which seldom moves the handle by a pixel; this bar repaints only when what it shows
// would change, and then only around the handle unless the arrows change too.
class CListScrollBar : public QScrollBar {
    Q_OBJECT
public:
    using QScrollBar::QScrollBar;

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What a paint shows that a change of range or value can alter.
    struct Shown {
        QRect handle;
        bool bAtMinimum = false;
        bool bAtMaximum = false;
        bool operator==(const Shown&) const = default;
    };
    Shown Current() const;

    Shown m_shown;
    bool m_bPainted = false;
};

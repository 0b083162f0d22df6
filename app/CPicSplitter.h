#pragma once

#include <QSplitter>

inline constexpr int kFileSelectWidth = 200;
inline constexpr int kTargetWidth = 103;
inline constexpr int kMinSplitterWidth = 290;

// The three side-by-side panes of the main window. After every resize of at least
// kMinSplitterWidth pixels the side panes return to their fixed widths and the picture
// takes the rest; narrower, the columns stay as they are.
class CPicSplitter : public QSplitter {
public:
    explicit CPicSplitter(QWidget* parent = nullptr) : QSplitter(Qt::Horizontal, parent) {
        setChildrenCollapsible(false);
    }

    // Column widths for a splitter `cx` pixels wide with handles `handle` pixels wide.
    static QList<int> ColumnWidths(int cx, int handle) {
        const int middle = cx - kFileSelectWidth - kTargetWidth - 2 * handle;
        return {kFileSelectWidth, middle > 0 ? middle : 0, kTargetWidth};
    }

protected:
    void resizeEvent(QResizeEvent* e) override {
        QSplitter::resizeEvent(e);
        if (width() >= kMinSplitterWidth && count() == 3)
            setSizes(ColumnWidths(width(), handleWidth()));
    }
};

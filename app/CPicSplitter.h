#pragma once

#include "settings/CSettings.h"

#include <QSplitter>
#include <algorithm>

inline constexpr int kFileSelectWidth = kDefaultFileSelectWidth;
inline constexpr int kTargetWidth = 103;
inline constexpr int kMinSplitterWidth = 290;
inline constexpr int kMinPictureWidth = 100; // what a wider file pane leaves the picture

// The three side-by-side panes of the main window. After every resize of at least
// kMinSplitterWidth pixels the side panes return to their widths and the picture takes the
// rest; narrower, the columns stay as they are. The file pane's width is kFileSelectWidth
// until the user drags the bar beside it: the width dragged to is kept (and given way to,
// down to kFileSelectWidth, where the picture would get less than kMinPictureWidth).
class CPicSplitter : public QSplitter {
public:
    explicit CPicSplitter(QWidget* parent = nullptr) : QSplitter(Qt::Horizontal, parent) {
        setChildrenCollapsible(false);
        connect(this, &QSplitter::splitterMoved, this, [this](int, int index) {
            if (index == 1 && count() == 3)
                m_nFileWidth = sizes().constFirst();
        });
    }

    // The file pane's width to keep; any width below 1 is the standard one.
    void SetFileSelectWidth(int cx) {
        m_nFileWidth = cx > 0 ? cx : kFileSelectWidth;
        if (width() >= kMinSplitterWidth && count() == 3)
            setSizes(ColumnWidths(width(), handleWidth(), m_nFileWidth));
    }
    int FileSelectWidth() const { return m_nFileWidth; }

    // Column widths for a splitter `cx` pixels wide with handles `handle` pixels wide.
    static QList<int> ColumnWidths(int cx, int handle, int fileWidth = kFileSelectWidth) {
        const int room = cx - kTargetWidth - 2 * handle;
        const int file = std::min(fileWidth, std::max(kFileSelectWidth, room - kMinPictureWidth));
        const int middle = room - file;
        return {file, middle > 0 ? middle : 0, kTargetWidth};
    }

protected:
    void resizeEvent(QResizeEvent* e) override {
        QSplitter::resizeEvent(e);
        if (width() >= kMinSplitterWidth && count() == 3)
            setSizes(ColumnWidths(width(), handleWidth(), m_nFileWidth));
    }

private:
    int m_nFileWidth = kFileSelectWidth;
};

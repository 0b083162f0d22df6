#pragma once

#include <QSize>
#include <QTabBar>

// A row of tabs drawn as push buttons, all of one size, with the label at the left after
// the padding; the selected one is pressed in. It never takes the keyboard focus.
class CButtonTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit CButtonTabBar(QWidget* parent = nullptr);

    // The size of every tab in pixels; an invalid size lets the labels decide.
    void SetItemSize(const QSize& size);
    QSize ItemSize() const { return m_itemSize; }
    // Space between a tab's edges and its label: horizontal and vertical, in pixels.
    void SetPadding(const QSize& padding);
    QSize Padding() const { return m_padding; }

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;

private:
    QSize m_itemSize;
    QSize m_padding{6, 3};
};

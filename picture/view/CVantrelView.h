#pragma once

#include "picture/view/CImageCtrl.h"

#include <QWidget>

// The picture view, the middle pane: nothing but the imaging control, which always
// covers the whole pane (the picture is never scrolled) and stays hidden until the
// picture list shows a picture in it.
class CVantrelView : public QWidget {
    Q_OBJECT
public:
    explicit CVantrelView(QWidget* parent = nullptr);

    // Runs once after the main window has created all three panes.
    virtual void OnInitialUpdate();
    // A bar along the bottom of the pane (not owned; its parent becomes the view): while
    // it is shown it takes the height it asks for and the control the rest.
    void SetBottomBar(QWidget* bar);

    CImageCtrl m_imageCtrl; // owned; the main window lends it to the picture list

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayOut();

    QWidget* m_pBottomBar = nullptr;
};

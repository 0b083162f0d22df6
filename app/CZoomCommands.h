#pragma once

#include <QObject>
#include <QPointF>

class CImageCtrl;
class CMainStatusBar;
class CPictureList;
class CSettings;
class QAction;

// Zoom In, Zoom Out and Actual Size, and Ctrl+wheel over the picture: the picture steps
// through the fixed scales (or shows at 100 %, at the pointer when it is over the picture)
// and stays at that scale as the person steps on. A zoom ends fitting (the Fit to Window
// toggle goes off); Space fits again. The status bar tells the scale shown.
class CZoomCommands : public QObject {
    Q_OBJECT
public:
    struct Seams {
        QAction* zoomIn;
        QAction* zoomOut;
        QAction* actualSize;
        QAction* fit; // the Fit to Window toggle
        CImageCtrl* ctrl;
        CPictureList* list;
        CSettings* settings;
        CMainStatusBar* status;
    };
    explicit CZoomCommands(const Seams& seams, QObject* parent = nullptr);

    // `steps` steps larger (positive) or smaller, keeping the picture point under `at`.
    void ZoomBy(int steps, QPointF at);
    void ActualSize();

private:
    void Apply(double scale, QPointF at);
    void ShowScale();
    QPointF Centre() const;
    QPointF PointerOrCentre() const;

    Seams m_seams;
};

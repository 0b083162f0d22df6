#pragma once

#include "picture/load/CPictureSource.h"
#include "picture/view/CPanBars.h"
#include "picture/view/CShownFile.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <memory>

class CPictureLoader;
class CPrintSession;
class QPrinter;
class CSharpPart;

// The imaging control: loads a picture file, draws it into its view rectangle and prints
// it, offering the properties and methods the picture list and the frame use by name.
//
// LoadFile reads the header only, never the pixels: ImageWidth and ImageHeight are known at
// once where the header tells them. The pixels are asked for when drawing is switched back
// on (SetRedrawEnabled(true)) or at the first paint, at the size of the view rectangle then,
// and decoded on worker threads; a picture decoded before (or ahead) comes from the cache
// at once. A picture whose header tells no size (or whose pixels tell another) is decoded
// for the control's size, fitted or not as SetFitToWindow says; its figures are then
// completed and PictureInfoChanged tells the owner to place it again. Until the pixels come
// the previous picture stays where it was (or this picture at another size, scaled). A file
// that cannot be shown leaves the image figures at zero and the reason in LastError(),
// which the control also shows in place of the picture.
//
// A view rectangle larger than the control is panned by dragging, with the wheel, with the
// scroll bars that then appear and, while the control has the focus, with the arrow keys.
// Zoomed (not fitted), a picture is shown at a fixed scale that the next picture keeps; the
// pixels are decoded for the shown size, at most the picture's own.
class CImageCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kControlId = 1000;

    explicit CImageCtrl(QWidget* parent = nullptr);
    ~CImageCtrl() override;

    // Properties
    bool RedrawEnabled() const { return m_bRedrawEnabled; }
    void SetRedrawEnabled(bool enabled);
    float ImageWidth() const { return float(m_pSource->Info().nWidth); }
    float ImageHeight() const { return float(m_pSource->Info().nHeight); }
    short ImageBitsPerPixel() const { return short(m_pSource->Info().nBitsPerPixel); }
    float ViewLeft() const { return float(m_rectView.left()); }
    float ViewTop() const { return float(m_rectView.top()); }
    float ViewWidth() const { return float(m_rectView.width()); }
    float ViewHeight() const { return float(m_rectView.height()); }
    float PrintLeft() const { return float(m_rectPrint.left()); }
    float PrintTop() const { return float(m_rectPrint.top()); }
    float PrintWidth() const { return float(m_rectPrint.width()); }
    float PrintHeight() const { return float(m_rectPrint.height()); }
    short FileFormat() const { return m_pShown->FileFormat(); }
    qint64 FileSize() const { return m_pShown->FileSize(); }
    float ClientWidth() const { return float(width()); }
    float ClientHeight() const { return float(height()); }

    // Methods; each returns whether it succeeded.
    bool LoadFile(const QString& path, short = 0, short = 0);
    bool QueryFileInfo(const QString& path, short = 1);
    bool SetViewRect(float left, float top, float width, float height);
    bool SetViewClip(float left, float top, float width, float height);
    // Printing on the printer given by SetPrinter, in printer units of 1/600 inch.
    // A picture whose size only its pixels tell gets it here, decoded on this thread: the
    // print layout needs the size before anything is drawn. False when it cannot be decoded
    // (the control then shows why, as after any failed decode).
    bool CompleteFigures();
    long BeginPrint();
    bool RenderToDevice(long handle, float left, float top, float width, float height);
    void EndPrint(long handle);

    // Whether the owner fits pictures into the control (a picture whose size is not known yet
    // is decoded for that).
    // Fitting again forgets the zoom: not fitted, the next picture is shown at 100 %.
    void SetFitToWindow(bool fit) {
        m_bFit = fit;
        if (fit)
            m_dZoom = 1.0;
    }

    // The printer shared with Print Setup; not owned.
    void SetPrinter(QPrinter* printer) { m_pPrinter = printer; }
    QPrinter* Printer() const { return m_pPrinter; }
    // True while a picture is loaded and decodable.
    bool HasPicture() const { return m_pSource->IsOpen(); }
    // Why the last load or decode failed; empty after a success.
    QString LastError() const { return m_strError; }
    // The size of the decoded pixels drawn now for this picture at this view size (empty
    // while they are still being decoded).
    QSize DecodedSize() const { return m_eDrawn == EDrawn::Exact ? m_imgDrawn.size() : QSize(); }
    // Drops the picture; the control then shows nothing.
    void Clear();

    // True once this picture is drawn with its own pixels at the view size, or failed.
    bool IsPictureComplete() const;
    // True once anything of this picture is drawn: a stand-in, another size or its pixels.
    bool IsPictureShown() const { return m_eDrawn == EDrawn::Exact || m_eDrawn == EDrawn::Scaled; }
    // For tests and tools: runs the event loop until IsPictureComplete() and a worker has
    // checked that cached pixels still hold, or the time is up.
    bool WaitForPicture(int timeoutMs = 20000);
    // Files to decode ahead, the most likely first, for this control's size.
    void PrefetchFiles(const QStringList& paths, bool fitToWindow);
    CPictureLoader& Loader() { return *m_pLoader; }
    // The file last given to LoadFile (empty after Clear).
    QString LoadedPath() const { return m_strPath; }
    // How far a picture larger than the control is scrolled.
    QPointF PanOffset() const { return m_pPan->Pan(); }

    // What an owner that shows pictures needs, and nothing more: show this picture (fitted
    // or at its own size), fit it again, hide it, and what is known of it.
    struct State {
        long width = 0;
        long height = 0;
        short bitsPerPixel = 0;
        qint64 fileSize = 0;
        short fileFormat = 0;
        bool bShown = false; // loaded and decodable
        QString error;       // why it cannot be shown
    };
    // Shows the file without touching the disk on this thread: what is known of it (its
    // figures, when its pixels are cached) is shown at once, the view placed (fitted to the
    // control when bFit) and its pixels asked for at that size. Otherwise a worker reads its
    // header, and PictureInfoChanged (or PictureFailed) tells the figures (or why it cannot
    // be shown); the previous picture stays on screen meanwhile.
    void ShowPicture(const QString& path, bool bFit);
    // Places the picture shown fitted into the control again.
    void FitPicture();
    State PictureState() const;
    // The scale the picture is shown at (fitted or zoomed); 0 with none.
    double ZoomScale() const;
    bool IsFitted() const { return m_bFit; }
    // Zooms to `scale` and keeps the picture point under `anchor` (control coordinates)
    // where it is; the control then stops fitting, and later pictures keep the scale.
    void ZoomTo(double scale, QPointF anchor);

Q_SIGNALS:
    // The control changed size (a fitted picture needs fitting again).
    void ClientResized();
    // Decoding the picture failed after its header was read; LastError() says why.
    void PictureFailed();
    // The picture's size or depth became known from its pixels (its header did not tell them,
    // or told others): the image figures changed and the view rectangle was reset.
    void PictureInfoChanged();
    // The picture's scale or place in the control may have changed (ZoomScale()).
    void ZoomChanged();
    // The wheel turned with Ctrl held: `steps` notches (up positive) at `at`.
    void ZoomWheel(int steps, QPointF at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // What is drawn: nothing, this picture's pixels at the view size, this picture at
    // another size (scaled into the view), or the previous picture where it was.
    enum class EDrawn { None, Exact, Scaled, Previous };

    QSize DecodeTarget() const;
    QSize Own() const { return {m_pSource->Info().nWidth, m_pSource->Info().nHeight}; }
    void KeepPrevious();
    void OnHeaderRead(const QString& path, const CPictureSource::SHeader& header);
    void AskSized();
    void PlaceAgain();
    void PrepareDrawing();
    void RequestPixels();
    void SetDrawn(const QImage& image, EDrawn kind, QSize target = QSize());
    void OnDecoded(const QString& path, QSize target, const QImage& image);
    void OnFailed(const QString& path, const QString& error);
    void OnSizeKnown(const QString& path, QSize own, int bitsPerPixel);
    void ShowFailure(const QString& error);
    void ResetRectangles();
    QRectF PlacedRect() const;
    void LayoutScrollBars();

    std::unique_ptr<CPictureSource> m_pSource;
    std::unique_ptr<CShownFile> m_pShown; // the file shown, its figures and header
    std::unique_ptr<CPictureLoader> m_pLoader;
    std::unique_ptr<CPrintSession> m_pPrint;
    QPrinter* m_pPrinter = nullptr;
    bool m_bRedrawEnabled = true;
    QRectF m_rectView;
    QRectF m_rectClip; // empty: no clipping
    QRectF m_rectPrint;
    QString m_strPath;
    QImage m_imgDrawn;
    EDrawn m_eDrawn = EDrawn::None;
    QSize m_drawnTarget;       // the size m_imgDrawn was decoded for, when exact
    QSize m_requested;         // the size last asked of the loader for this picture
    bool m_bSizeAsked = false; // pixels asked for a picture of unknown size
    bool m_bFit = true;
    double m_dZoom = 1.0;       // the scale while not fitted
    int m_nWheelZoom = 0;       // eighths of a degree turned with Ctrl, not yet a whole notch
    QRectF m_rectPrevious;      // where the previous picture was drawn
    CPanBars* m_pPan = nullptr; // the scroll bars and the drag of a picture shown at 100 %
    QString m_strError;
    std::unique_ptr<CSharpPart> m_pPart; // the part seen at 100 %, decoded before the rest
};

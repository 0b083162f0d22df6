#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <memory>

class CPictureSource;
class CPrintSession;
class QPrinter;

// The imaging control: loads a picture file, draws it into its view rectangle and prints
// it, offering the properties and methods the picture list and the frame use by name.
//
// LoadFile reads the header only where the type allows decoding later at the shown size
// (JPEG, PostScript): ImageWidth and ImageHeight are known at once, and the pixels are
// decoded when drawing is switched back on (SetRedrawEnabled(true)) or at the first paint,
// at the size of the view rectangle then. A file that cannot be shown leaves the image
// figures at zero and the reason in LastError(), which the control also shows in place of
// the picture.
class CImageCtrl : public QWidget {
    Q_OBJECT
public:
    static constexpr int kControlId = 1000;

    explicit CImageCtrl(QWidget* parent = nullptr);
    ~CImageCtrl() override;

    // Properties
    bool RedrawEnabled() const { return m_bRedrawEnabled; }
    void SetRedrawEnabled(bool enabled);
    float ImageWidth() const;
    float ImageHeight() const;
    short ImageBitsPerPixel() const;
    float ViewLeft() const { return float(m_rectView.left()); }
    float ViewTop() const { return float(m_rectView.top()); }
    float ViewWidth() const { return float(m_rectView.width()); }
    float ViewHeight() const { return float(m_rectView.height()); }
    float PrintLeft() const { return float(m_rectPrint.left()); }
    float PrintTop() const { return float(m_rectPrint.top()); }
    float PrintWidth() const { return float(m_rectPrint.width()); }
    float PrintHeight() const { return float(m_rectPrint.height()); }
    short FileFormat() const { return m_nFileFormat; }
    qint64 FileSize() const { return m_nFileSize; }
    float ClientWidth() const { return float(width()); }
    float ClientHeight() const { return float(height()); }

    // Methods; each returns whether it succeeded.
    bool LoadFile(const QString& path, short = 0, short = 0);
    bool QueryFileInfo(const QString& path, short = 1);
    bool SetViewRect(float left, float top, float width, float height);
    bool SetViewClip(float left, float top, float width, float height);
    // Printing on the printer given by SetPrinter, in printer units of 1/600 inch.
    long BeginPrint();
    bool RenderToDevice(long handle, float left, float top, float width, float height);
    void EndPrint(long handle);

    // The printer shared with Print Setup; not owned.
    void SetPrinter(QPrinter* printer) { m_pPrinter = printer; }
    QPrinter* Printer() const { return m_pPrinter; }
    // True while a picture is loaded and decodable.
    bool HasPicture() const;
    // Why the last load or decode failed; empty after a success.
    QString LastError() const { return m_strError; }
    // The size of the decoded pixels held now (decoding at display size shows here).
    QSize DecodedSize() const;
    // Drops the picture; the control then shows nothing.
    void Clear();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QSize DecodeTarget() const;
    void PrepareDrawing();
    void ResetRectangles();
    void DrawMessage(QPainter& painter, const QString& text);

    std::unique_ptr<CPictureSource> m_pSource;
    std::unique_ptr<CPrintSession> m_pPrint;
    QPrinter* m_pPrinter = nullptr;
    bool m_bRedrawEnabled = true;
    QRectF m_rectView;
    QRectF m_rectClip; // empty: no clipping
    QRectF m_rectPrint;
    QImage m_imgDrawn; // the picture at the view rectangle's size in device pixels
    short m_nFileFormat = 0;
    qint64 m_nFileSize = 0;
    QString m_strError;
};

#include "picture/CImageCtrl.h"

#include "picture/CPictureSource.h"
#include "picture/CPrintSession.h"
#include "picture/CViewPlacement.h"
#include "picture/DecodeLimits.h"

#include <QFileInfo>
#include <QPainter>
#include <algorithm>

CImageCtrl::CImageCtrl(QWidget* parent)
    : QWidget(parent), m_pSource(std::make_unique<CPictureSource>()),
      m_pPrint(std::make_unique<CPrintSession>()) {
    // Tagged like a control built from a dialog template, so it is found by its id.
    setObjectName(QStringLiteral("ctl%1").arg(kControlId));
    setProperty("controlId", kControlId);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

CImageCtrl::~CImageCtrl() = default;

float CImageCtrl::ImageWidth() const {
    return float(m_pSource->Info().nWidth);
}
float CImageCtrl::ImageHeight() const {
    return float(m_pSource->Info().nHeight);
}
short CImageCtrl::ImageBitsPerPixel() const {
    return short(m_pSource->Info().nBitsPerPixel);
}
bool CImageCtrl::HasPicture() const {
    return m_pSource->IsOpen();
}
QSize CImageCtrl::DecodedSize() const {
    return m_pSource->DecodedSize();
}

void CImageCtrl::SetRedrawEnabled(bool enabled) {
    m_bRedrawEnabled = enabled;
    setUpdatesEnabled(enabled);
    if (enabled) {
        PrepareDrawing(); // decode now, while the caller shows its wait cursor
        update();
    }
}

bool CImageCtrl::LoadFile(const QString& path, short, short) {
    m_imgDrawn = QImage();
    const bool ok = m_pSource->Open(path);
    m_strError = ok ? QString() : m_pSource->Error();
    ResetRectangles();
    update();
    return ok;
}

void CImageCtrl::Clear() {
    m_pSource->Close();
    m_strError.clear();
    m_imgDrawn = QImage();
    ResetRectangles();
    update();
}

void CImageCtrl::ResetRectangles() {
    // A new picture is shown at its own size until the view rectangle is set.
    const QRectF own(0, 0, m_pSource->Info().nWidth, m_pSource->Info().nHeight);
    m_rectView = own;
    m_rectClip = QRectF();
    m_rectPrint = own;
}

bool CImageCtrl::QueryFileInfo(const QString& path, short) {
    const QFileInfo info(path);
    if (!info.isFile()) {
        m_nFileFormat = 0;
        m_nFileSize = 0;
        return false;
    }
    m_nFileSize = info.size();
    m_nFileFormat = short(CPictureSource::DetectFileFormat(path));
    return true;
}

bool CImageCtrl::SetViewRect(float left, float top, float width, float height) {
    if (!(width >= 0.0f) || !(height >= 0.0f))
        return false;
    m_rectView = QRectF(left, top, width, height);
    update();
    return true;
}

bool CImageCtrl::SetViewClip(float left, float top, float width, float height) {
    if (!(width >= 0.0f) || !(height >= 0.0f))
        return false;
    m_rectClip = QRectF(left, top, width, height);
    update();
    return true;
}

QSize CImageCtrl::DecodeTarget() const {
    const qreal ratio = devicePixelRatioF();
    auto pixels = [ratio](qreal length) {
        return qRound(std::clamp(length * ratio, 1.0, qreal(limits::kMaxSide)));
    };
    return QSize(pixels(m_rectView.width()), pixels(m_rectView.height()));
}

void CImageCtrl::PrepareDrawing() {
    if (!m_pSource->IsOpen() || m_rectView.isEmpty())
        return;
    const QSize target = DecodeTarget();
    if (!m_imgDrawn.isNull() && m_imgDrawn.size() == target)
        return;
    m_imgDrawn = m_pSource->ImageAt(target);
    if (m_imgDrawn.isNull()) {
        m_strError = m_pSource->Error();
        ResetRectangles();
        return;
    }
    if (m_imgDrawn.size() == target)
        m_imgDrawn.setDevicePixelRatio(devicePixelRatioF());
}

void CImageCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (m_strError.isEmpty() && m_pSource->IsOpen())
        PrepareDrawing();
    if (!m_strError.isEmpty()) {
        DrawMessage(painter, m_strError);
        return;
    }
    if (m_imgDrawn.isNull())
        return;
    const QPointF offset = CViewPlacement::Offset(m_rectView, QSizeF(size()));
    if (!m_rectClip.isEmpty())
        painter.setClipRect(m_rectClip.translated(offset));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(m_rectView.translated(offset), m_imgDrawn);
}

void CImageCtrl::DrawMessage(QPainter& painter, const QString& text) {
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect box = rect().adjusted(12, 12, -12, -12);
    painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap,
                     tr("This picture cannot be shown.") + QLatin1Char('\n') + text);
}

long CImageCtrl::BeginPrint() {
    return HasPicture() ? m_pPrint->Begin(m_pPrinter) : 0;
}

bool CImageCtrl::RenderToDevice(long handle, float left, float top, float width, float height) {
    const QRectF units(left, top, width, height);
    const QRectF device = m_pPrint->DeviceRect(handle, units);
    if (device.isEmpty() || !HasPicture())
        return false;
    const QImage image = m_pSource->Image(device.size().toSize());
    if (image.isNull()) {
        m_strError = m_pSource->Error();
        ResetRectangles();
        update();
        return false;
    }
    return m_pPrint->Draw(handle, units, image);
}

void CImageCtrl::EndPrint(long handle) {
    m_pPrint->End(handle);
}

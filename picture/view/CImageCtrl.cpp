#include "picture/view/CImageCtrl.h"

#include "picture/format/PictureFormat.h"
#include "picture/load/CDecodeJob.h"
#include "picture/load/CFitScale.h"
#include "picture/load/CPictureLoader.h"
#include "picture/load/CPictureSource.h"
#include "picture/view/CPrintSession.h"
#include "picture/view/CSharpPart.h"
#include "picture/view/CViewPlacement.h"
#include "picture/view/CZoomSteps.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPainter>
#include <QThread>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

CImageCtrl::CImageCtrl(QWidget* parent)
    : QWidget(parent), m_pSource(std::make_unique<CPictureSource>()),
      m_pShown(std::make_unique<CShownFile>(*m_pSource)),
      m_pLoader(std::make_unique<CPictureLoader>()), m_pPrint(std::make_unique<CPrintSession>()),
      m_pPart(std::make_unique<CSharpPart>()) {
    // Tagged like a control built from a dialog template, so it is found by its id.
    setObjectName(QStringLiteral("ctl%1").arg(kControlId));
    setProperty("controlId", kControlId);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_pLoader.get(), &CPictureLoader::Decoded, this, &CImageCtrl::OnDecoded);
    connect(m_pLoader.get(), &CPictureLoader::Failed, this, &CImageCtrl::OnFailed);
    connect(m_pLoader.get(), &CPictureLoader::SizeKnown, this, &CImageCtrl::OnSizeKnown);
    connect(m_pLoader.get(), &CPictureLoader::HeaderRead, this, &CImageCtrl::OnHeaderRead);
    connect(m_pLoader.get(), &CPictureLoader::PartDecoded, this,
            [this](const QString& path, QRect part, const QImage& image) {
                if (path == m_strPath && m_eDrawn == EDrawn::Scaled)
                    m_pPart->Take(part, image), update();
            });
    m_pPan = new CPanBars(this);
    connect(m_pPan, &CPanBars::PanChanged, this, qOverload<>(&QWidget::update));
}

CImageCtrl::~CImageCtrl() = default;

bool CImageCtrl::IsPictureComplete() const {
    if (m_pShown->IsPending())
        return false;
    if (!m_strError.isEmpty() || !m_pSource->IsOpen())
        return true;
    if (m_pSource->SizePending())
        return false;
    if (m_rectView.isEmpty())
        return true;
    return m_eDrawn == EDrawn::Exact && m_drawnTarget == DecodeTarget();
}

bool CImageCtrl::WaitForPicture(int timeoutMs) {
    PrepareDrawing();
    const QDeadlineTimer deadline(timeoutMs);
    // Cached pixels are complete at once; a check that the file is unchanged may follow.
    const auto done = [this] { return IsPictureComplete() && !m_pLoader->IsChecking(m_strPath); };
    while (!done() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (!done())
            QThread::msleep(2);
    }
    return IsPictureComplete();
}

void CImageCtrl::PrefetchFiles(const QStringList& paths, bool fitToWindow) {
    m_pLoader->Prefetch(paths, size(), fitToWindow, devicePixelRatioF(), m_dZoom);
}

void CImageCtrl::SetRedrawEnabled(bool enabled) {
    m_bRedrawEnabled = enabled;
    setUpdatesEnabled(enabled);
    if (enabled) {
        PrepareDrawing(); // asks for the pixels: at once from the cache, or decoded later
        update();
    }
}

// The picture on screen stays where it is until the new one's pixels come.
void CImageCtrl::KeepPrevious() {
    if (m_eDrawn == EDrawn::Exact || m_eDrawn == EDrawn::Scaled) {
        m_rectPrevious = PlacedRect();
        m_eDrawn = EDrawn::Previous;
    }
    m_requested = QSize();
    m_bSizeAsked = false;
}

bool CImageCtrl::LoadFile(const QString& path, short, short) {
    KeepPrevious();
    m_strPath = path;
    const bool ok = m_pShown->Open(path, m_pLoader->CachedEntry(path));
    m_strError = ok ? QString() : m_pSource->Error();
    if (!ok) {
        SetDrawn(QImage(), EDrawn::None);
        m_pLoader->Forget();
    }
    ResetRectangles();
    update();
    return ok;
}

void CImageCtrl::Clear() {
    m_pShown->Close();
    m_pLoader->Forget();
    m_strError.clear();
    m_strPath.clear();
    SetDrawn(QImage(), EDrawn::None);
    ResetRectangles();
    update();
}

void CImageCtrl::ResetRectangles() {
    // A new picture is shown at its own size (or zoomed) until the view rectangle is set.
    const QRectF own(0, 0, m_pSource->Info().nWidth, m_pSource->Info().nHeight);
    m_rectView = m_bFit ? own : QRectF(0, 0, own.width() * m_dZoom, own.height() * m_dZoom);
    m_rectClip = QRectF();
    m_rectPrint = own;
    m_pPan->SetPan(QPointF());
    LayoutScrollBars();
}

bool CImageCtrl::QueryFileInfo(const QString& path, short) {
    return m_pShown->Query(path);
}

bool CImageCtrl::SetViewRect(float left, float top, float width, float height) {
    if (!(width >= 0.0f) || !(height >= 0.0f))
        return false;
    m_rectView = QRectF(left, top, width, height);
    LayoutScrollBars();
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
    return m_bFit ? CDecodeJob::PixelsFor(m_rectView.size(), devicePixelRatioF())
                  : CDecodeJob::PixelsFor(m_rectView.size(), devicePixelRatioF(), Own());
}

// The header (or the pixels) will tell the size.
void CImageCtrl::AskSized() {
    if (!m_bSizeAsked)
        m_pLoader->WantSized(m_strPath, size(), m_bFit, devicePixelRatioF(), m_dZoom);
    m_bSizeAsked = true;
}

void CImageCtrl::PrepareDrawing() {
    if (m_pShown->IsPending())
        return AskSized();
    if (!m_pSource->IsOpen() || !m_strError.isEmpty())
        return;
    if (m_pSource->SizePending())
        return AskSized();
    if (m_rectView.isEmpty())
        return;
    const QSize target = DecodeTarget();
    if (m_eDrawn == EDrawn::Exact && m_drawnTarget == target)
        return;
    if (m_eDrawn == EDrawn::Exact)
        m_eDrawn = EDrawn::Scaled; // the view changed size: these pixels stand in meanwhile
    if (m_requested != target)
        RequestPixels();
}

void CImageCtrl::RequestPixels() {
    const QSize target = DecodeTarget();
    m_requested = target;
    // Another size of this picture, if one is cached, is closer than the previous one.
    if (const QImage other = m_pLoader->CachedAnySize(m_strPath);
        m_eDrawn != EDrawn::Scaled && !other.isNull())
        SetDrawn(other, EDrawn::Scaled);
    // At 100 %, the part of a JPEG on screen is decoded first, to be drawn over a stand-in.
    const bool jpeg =
        m_eDrawn == EDrawn::Scaled && FileFormat() == picfmt::kJpg && devicePixelRatioF() == 1.0;
    const QImage image =
        m_pLoader->Want(m_strPath, target, CSharpPart::Wanted(PlacedRect(), size(), Own(), jpeg));
    if (!image.isNull())
        SetDrawn(image, EDrawn::Exact, target);
}

void CImageCtrl::SetDrawn(const QImage& image, EDrawn kind, QSize target) {
    QImage previous = std::exchange(m_imgDrawn, image);
    m_pLoader->Cache().Release(previous); // freed off this thread when nobody else holds it
    m_eDrawn = image.isNull() ? EDrawn::None : kind;
    m_drawnTarget = target;
    m_pPart->Clear();
    if (kind == EDrawn::Exact && image.size() == target)
        m_imgDrawn.setDevicePixelRatio(devicePixelRatioF());
}

void CImageCtrl::OnDecoded(const QString& path, QSize target, const QImage& image) {
    if (path != m_strPath || !m_pSource->IsOpen())
        return;
    const bool preview = !target.isValid();
    if (preview && (m_eDrawn == EDrawn::Exact || m_eDrawn == EDrawn::Scaled))
        return; // this picture is on screen already, larger than its preview
    const bool exact = target == DecodeTarget();
    // Where the part decoded first shows all that is seen, the screen stays as it is.
    const bool seen = exact && m_pPart->Covers(PlacedRect(), size(), Own());
    SetDrawn(image, exact ? EDrawn::Exact : EDrawn::Scaled, target);
    if (!seen)
        update();
}

void CImageCtrl::OnSizeKnown(const QString& path, QSize own, int bitsPerPixel) {
    if (path != m_strPath || !m_pSource->IsOpen())
        return;
    const CShownFile::ETaken taken = m_pShown->TakeDecoded(own, bitsPerPixel);
    if (taken == CShownFile::ETaken::Figures)
        return PlaceAgain();
    if (taken == CShownFile::ETaken::Depth)
        Q_EMIT PictureInfoChanged();
}

// The picture's figures changed: it is placed and its pixels asked for again.
void CImageCtrl::PlaceAgain() {
    m_requested = QSize();
    ResetRectangles();
    update();
    Q_EMIT PictureInfoChanged();
}

// The header read by a worker: the figures of a picture shown before they were known, or
// of the file on show as it is now (another program changed it, or it went).
void CImageCtrl::OnHeaderRead(const QString& path, const CPictureSource::SHeader& header) {
    if (path != m_strPath || !m_strError.isEmpty())
        return;
    const CShownFile::ETaken taken = m_pShown->Take(path, header);
    if (taken == CShownFile::ETaken::Failure)
        return ShowFailure(header.strError);
    if (taken == CShownFile::ETaken::Figures)
        PlaceAgain();
}

void CImageCtrl::OnFailed(const QString& path, const QString& error) {
    if (path != m_strPath || !m_pSource->IsOpen())
        return;
    ShowFailure(error);
}

void CImageCtrl::ShowFailure(const QString& error) {
    m_strError = error;
    m_pSource->Close(); // no figures of a picture that cannot be shown
    SetDrawn(QImage(), EDrawn::None);
    ResetRectangles();
    update();
    Q_EMIT PictureFailed();
}

QRectF CImageCtrl::PlacedRect() const {
    return CViewPlacement::Place(m_rectView, QSizeF(size())).translated(-m_pPan->Pan());
}

void CImageCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    PrepareDrawing();
    if (!m_strError.isEmpty()) {
        CViewPlacement::DrawMessage(painter, rect(), palette().color(QPalette::WindowText),
                                    tr("This picture cannot be shown.") + u'\n' + m_strError);
        return;
    }
    if (m_eDrawn == EDrawn::None)
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (m_eDrawn == EDrawn::Previous) {
        painter.drawImage(m_rectPrevious, m_imgDrawn);
        return;
    }
    const QPointF offset = CViewPlacement::Offset(m_rectView, QSizeF(size())) - m_pPan->Pan();
    if (!m_rectClip.isEmpty())
        painter.setClipRect(m_rectClip.translated(offset));
    if (m_pPart->Paint(painter, m_rectView.translated(offset), m_imgDrawn,
                       m_eDrawn == EDrawn::Scaled, Own(), size()))
        QTimer::singleShot(0, this, qOverload<>(&QWidget::update)); // smoothly next
}

bool CImageCtrl::CompleteFigures() {
    if (!m_pSource->SizePending())
        return HasPicture();
    if (m_pSource->Image(QSize()).isNull()) {
        ShowFailure(m_pSource->Error());
        return false;
    }
    PlaceAgain();
    return true;
}

long CImageCtrl::BeginPrint() {
    return HasPicture() ? m_pPrint->Begin(m_pPrinter) : 0;
}

bool CImageCtrl::RenderToDevice(long handle, float left, float top, float width, float height) {
    if (!HasPicture())
        return false;
    if (m_pPrint->DrawPicture(handle, QRectF(left, top, width, height), *m_pSource))
        return true;
    if (!HasPicture()) { // it could not be decoded
        m_strError = m_pSource->Error();
        ResetRectangles();
        update();
    }
    return false;
}

void CImageCtrl::EndPrint(long handle) {
    m_pPrint->End(handle);
}

void CImageCtrl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayoutScrollBars();
    Q_EMIT ClientResized();
}

void CImageCtrl::LayoutScrollBars() {
    m_pPan->Layout(CViewPlacement::Place(m_rectView, QSizeF(size())),
                   !m_strPath.isEmpty() && m_strError.isEmpty());
    Q_EMIT ZoomChanged();
}

// Ctrl+wheel zooms; the pan bars take the other turns of the wheel before they come here.
void CImageCtrl::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier))
        return QWidget::wheelEvent(event);
    const int steps = CZoomSteps::Notches(m_nWheelZoom, event->angleDelta().y());
    if (steps != 0 && HasPicture())
        Q_EMIT ZoomWheel(steps, event->position());
    event->accept();
}

void CImageCtrl::ShowPicture(const QString& path, bool bFit) {
    show();
    SetRedrawEnabled(false);
    SetFitToWindow(bFit);
    KeepPrevious();
    m_strPath = path;
    m_strError.clear();
    m_pShown->Expect(path, m_pLoader->CachedEntry(path));
    ResetRectangles();
    if (bFit)
        FitPicture();
    SetRedrawEnabled(true); // the pixels come from the cache, or decoded meanwhile
}

void CImageCtrl::FitPicture() {
    const int percent =
        CFitScale::Percent(ClientWidth(), ClientHeight(), ImageWidth(), ImageHeight());
    if (percent <= 0)
        return; // nothing loaded
    const QSizeF size = CFitScale::ScaledSize(ImageWidth(), ImageHeight(), percent);
    SetViewRect(ViewLeft(), ViewTop(), float(size.width()), float(size.height()));
    SetViewClip(ViewLeft(), ViewTop(), ViewWidth(), ViewHeight());
}

CImageCtrl::State CImageCtrl::PictureState() const {
    return {long(ImageWidth()), long(ImageHeight()), ImageBitsPerPixel(),
            FileSize(),         FileFormat(),        HasPicture() || m_pShown->IsPending(),
            LastError()};
}

double CImageCtrl::ZoomScale() const {
    return HasPicture() && ImageWidth() > 0 ? m_rectView.width() / ImageWidth() : 0.0;
}

void CImageCtrl::ZoomTo(double scale, QPointF anchor) {
    if (!HasPicture() || !m_strError.isEmpty() || !(scale > 0.0) || !(ImageWidth() > 0))
        return;
    const QRectF before = PlacedRect();
    m_bFit = false;
    m_dZoom = std::clamp(scale, CZoomSteps::Smallest(), CZoomSteps::Largest());
    const QSizeF view = QSizeF(ImageWidth(), ImageHeight()) * m_dZoom;
    m_rectClip = QRectF();
    SetViewRect(0.0f, 0.0f, float(view.width()), float(view.height()));
    m_pPan->SetPan(CZoomSteps::PanKeeping(anchor, before, view, QSizeF(size())));
    PrepareDrawing(); // the pixels at hand enlarged; the sharp ones asked for before those ahead
    PrefetchFiles(m_pLoader->PrefetchPaths(), false);
}

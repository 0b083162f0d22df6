#include "picture/view/CPrintSession.h"

#include "picture/load/CPictureSource.h"

#include <QPainter>
#include <QPrinter>

CPrintSession::CPrintSession() = default;

CPrintSession::~CPrintSession() {
    End(m_nHandle);
}

long CPrintSession::Begin(QPrinter* printer) {
    if (!printer || m_painter)
        return 0;
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(printer))
        return 0;
    m_painter = std::move(painter);
    m_pPrinter = printer;
    m_nHandle = ++m_nLastHandle;
    return m_nHandle;
}

QRectF CPrintSession::DeviceRect(long handle, const QRectF& units) const {
    if (!m_painter || handle != m_nHandle || units.width() <= 0 || units.height() <= 0)
        return {};
    const double perUnit = m_pPrinter->resolution() / kUnitsPerInch;
    QRectF rect(units.topLeft() * perUnit, units.size() * perUnit);
    const QRectF page = m_pPrinter->pageLayout().paintRectPixels(m_pPrinter->resolution());
    const double shrink = std::min({1.0, page.width() / std::max(rect.right(), 1.0),
                                    page.height() / std::max(rect.bottom(), 1.0)});
    if (shrink > 0 && shrink < 1.0)
        rect = QRectF(rect.topLeft() * shrink, rect.size() * shrink);
    return rect;
}

bool CPrintSession::Draw(long handle, const QRectF& units, const QImage& image) {
    const QRectF rect = DeviceRect(handle, units);
    if (rect.isEmpty() || image.isNull())
        return false;
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter->drawImage(rect, image);
    return true;
}

bool CPrintSession::DrawPicture(long handle, const QRectF& units, CPictureSource& source) {
    const QRectF device = DeviceRect(handle, units);
    return !device.isEmpty() && Draw(handle, units, source.Image(device.size().toSize()));
}

void CPrintSession::End(long handle) {
    if (!m_painter || handle != m_nHandle)
        return;
    m_painter->end();
    m_painter.reset();
    m_pPrinter = nullptr;
    m_nHandle = 0;
}

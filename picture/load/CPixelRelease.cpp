#include "picture/load/CPixelRelease.h"

#include <QThread>
#include <utility>

CPixelRelease::CPixelRelease() {
    m_pool.setMaxThreadCount(1);
    m_pool.setExpiryTimeout(2000);
    m_pool.setThreadPriority(QThread::LowPriority);
}

CPixelRelease::~CPixelRelease() {
    m_pool.waitForDone();
}

void CPixelRelease::Release(QImage& image) {
    QImage taken = std::exchange(image, QImage());
    // Another holder keeps the pixels alive; letting go here costs nothing.
    if (taken.isNull() || taken.sizeInBytes() < kSmall || !taken.isDetached())
        return;
    m_pool.start([pixels = std::move(taken)]() mutable { pixels = QImage(); });
}

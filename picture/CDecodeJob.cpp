#include "picture/CDecodeJob.h"

#include "picture/CFitScale.h"
#include "picture/CPictureSource.h"
#include "picture/DecodeLimits.h"

#include <algorithm>

CDecodeJob::CDecodeJob(quint64 id, SDecodeOrder order, std::shared_ptr<std::atomic<bool>> cancel,
                       Delivery deliver)
    : m_nId(id), m_order(std::move(order)), m_pCancel(std::move(cancel)),
      m_deliver(std::move(deliver)) {
    setAutoDelete(true);
}

void CDecodeJob::run() {
    SDecodeResult result = Decode(m_order, m_pCancel.get());
    result.nId = m_nId;
    m_deliver(std::move(result));
}

SDecodeResult CDecodeJob::Decode(const SDecodeOrder& order, const std::atomic<bool>* cancel) {
    SDecodeResult result;
    result.strPath = order.strPath;
    const auto cancelled = [cancel] { return cancel && cancel->load(); };
    if (cancelled()) {
        result.bCancelled = true;
        return result;
    }
    result.stamp = SFileStamp::Of(order.strPath);
    CPictureSource source;
    source.SetCancelFlag(cancel);
    if (source.Open(order.strPath)) {
        result.ownSize = QSize(source.Info().nWidth, source.Info().nHeight);
        result.target = order.target.isValid()
                            ? order.target
                            : TargetFor(result.ownSize, order.client, order.bFit, order.ratio);
        result.image = source.ImageAt(result.target);
    }
    result.bCancelled = cancelled();
    if (result.image.isNull())
        result.strError = source.Error();
    return result;
}

QSize CDecodeJob::PixelsFor(QSizeF view, qreal ratio) {
    auto pixels = [ratio](qreal length) {
        return qRound(std::clamp(length * ratio, 1.0, qreal(limits::kMaxSide)));
    };
    return QSize(pixels(view.width()), pixels(view.height()));
}

QSize CDecodeJob::TargetFor(QSize own, QSize client, bool fit, qreal ratio) {
    if (own.isEmpty())
        return {};
    if (!fit)
        return PixelsFor(QSizeF(own), ratio);
    const float w = float(own.width()), h = float(own.height());
    const int percent = CFitScale::Percent(float(client.width()), float(client.height()), w, h);
    return PixelsFor(CFitScale::ScaledSize(w, h, percent), ratio);
}

#pragma once

#include "picture/load/CFileStamp.h"
#include "picture/load/CPictureSource.h"

#include <QImage>
#include <QRect>
#include <QRunnable>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

// What to decode: a file at a size known already (the picture on screen), or at the size
// it will have when shown in a view of `client` pixels, fitted or at its own size (a
// picture decoded ahead, whose size is only known once its header is read).
struct SDecodeOrder {
    QString strPath;
    QSize target; // valid: exactly this size
    QSize client;
    bool bFit = false;
    qreal ratio = 1.0;     // device pixels per view pixel
    qreal scale = 1.0;     // not fitted: the zoom it is shown at
    bool bPreview = false; // deliver a JPEG's own small preview first, when it has one
    // Valid: this part of a JPEG at its own size is delivered first (what a view at 100 %
    // shows), then the whole picture.
    QRect part;
    // Valid: the file's pixels are at hand with this stamp; they are decoded again only if
    // the file changed since.
    SFileStamp checked;
};

struct SDecodeResult {
    quint64 nId = 0;
    QString strPath;
    SFileStamp stamp; // taken before reading, so a change meanwhile is noticed later
    QSize ownSize;
    int nBits = 0; // the colour depth, as far as it is known
    QSize target;
    QImage image; // null when it failed or was cancelled
    QString strError;
    bool bCancelled = false;
    bool bPreview = false;   // a stand-in, the real picture follows (ownSize: as it tells)
    QRect part;              // valid: the stand-in is this part of the picture, at its own size
    bool bHeader = false;    // only the header (`header`), the pixels follow
    bool bUnchanged = false; // the file is as it was when its pixels at hand were decoded
    CPictureSource::SHeader header;
};

// One decode on a worker thread, through a picture source of its own. Raising its cancel
// flag stops it at the next stage; its result is then marked cancelled and never shown.
class CDecodeJob : public QRunnable {
public:
    using Delivery = std::function<void(SDecodeResult)>;

    CDecodeJob(quint64 id, SDecodeOrder order, std::shared_ptr<std::atomic<bool>> cancel,
               Delivery deliver);
    void run() override;

    // The same work on the calling thread; `preview` gets the stand-in, when there is one,
    // with the picture's size where the stand-in tells it first (a camera RAW file's, read on
    // a thread of its own beside the helper's decode: it may come after the picture), and
    // `header` what the file's header tells (or why it cannot be shown), once read.
    // `part` gets the part asked for (`order.part`).
    static SDecodeResult Decode(const SDecodeOrder& order, const std::atomic<bool>* cancel,
                                const std::function<void(QImage, QSize)>& preview = {},
                                const std::function<void(CPictureSource::SHeader)>& header = {},
                                const std::function<void(QImage)>& part = {});
    // The device pixels a view rectangle of `view` needs.
    static QSize PixelsFor(QSizeF view, qreal ratio);
    // The same, but never more than the picture's own pixels: a picture zoomed in is drawn
    // enlarged from its full size.
    static QSize PixelsFor(QSizeF view, qreal ratio, QSize own);
    // The device pixels of a picture of `own` size shown in `client`, fitted or at `scale`
    // (the same arithmetic as the picture list's); at a scale, at most its own size.
    static QSize TargetFor(QSize own, QSize client, bool fit, qreal ratio, qreal scale = 1.0);

private:
    static QSize WholeDecodeHint(const SDecodeOrder& order);
    // These read the file through the descriptor the source opened it with.
    static QImage Preview(const CPictureSource& source, QSize own);
    static QImage Part(const CPictureSource& source, QRect part, const std::atomic<bool>* cancel);
    // A camera RAW file's own preview, read in this process from the file open at `fd` while
    // the helper decodes it.
    static void RawStandIn(int fd, const SDecodeOrder& order, const std::atomic<bool>* cancel,
                           const std::function<void(QImage, QSize)>& preview);
    // The preview the file stores of itself, read by the decoder helper (HEIF).
    static QImage HelperPreview(const CPictureSource& source, const std::atomic<bool>* cancel);

    quint64 m_nId;
    SDecodeOrder m_order;
    std::shared_ptr<std::atomic<bool>> m_pCancel;
    Delivery m_deliver;
};

#include "picture/load/CDecodeJob.h"

#include "picture/format/CExifThumbnail.h"
#include "picture/format/PictureFormat.h"
#include "picture/load/CFitScale.h"
#include "picture/load/CJpegRegion.h"
#include "picture/load/CPictureSource.h"
#include "picture/load/CRawStandIn.h"
#include "picture/sandbox/CDecoderClient.h"
#include "picture/sandbox/DecodeLimits.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <thread>

CDecodeJob::CDecodeJob(quint64 id, SDecodeOrder order, std::shared_ptr<std::atomic<bool>> cancel,
                       Delivery deliver)
    : m_nId(id), m_order(std::move(order)), m_pCancel(std::move(cancel)),
      m_deliver(std::move(deliver)) {
    setAutoDelete(true);
}

namespace {
// Decoding yields to the GUI thread when the processors are busy: each worker thread runs
// a few steps nicer than the process (Linux gives every thread its own nice value).
constexpr int kWorkerNiceness = 5;
// Cores enough for a RAW file's preview to be read beside the helper's decode, while the
// GUI thread and the display server draw.
constexpr unsigned kCoresForStandInBeside = 4;

void YieldToTheGui() {
    thread_local const bool bDone = [] {
        const auto tid = id_t(::syscall(SYS_gettid));
        errno = 0;
        const int nice = ::getpriority(PRIO_PROCESS, tid);
        if (errno == 0)
            ::setpriority(PRIO_PROCESS, tid, std::min(19, nice + kWorkerNiceness));
        return true;
    }();
    (void)bDone;
}
} // namespace

void CDecodeJob::run() {
    YieldToTheGui();
    const auto stand = [this](QImage image, QRect part, QSize own = QSize()) {
        SDecodeResult early;
        early.ownSize = own;
        early.nId = m_nId;
        early.strPath = m_order.strPath;
        early.image = std::move(image);
        early.bPreview = true;
        early.part = part;
        m_deliver(std::move(early));
    };
    const auto preview = [&stand](QImage image, QSize own) {
        stand(std::move(image), QRect(), own);
    };
    const auto part = [this, &stand](QImage image) { stand(std::move(image), m_order.part); };
    const auto header = [this](CPictureSource::SHeader told) {
        SDecodeResult early;
        early.nId = m_nId;
        early.strPath = m_order.strPath;
        early.bHeader = true;
        early.header = std::move(told);
        m_deliver(std::move(early));
    };
    SDecodeResult result = Decode(m_order, m_pCancel.get(), preview, header, part);
    result.nId = m_nId;
    m_deliver(std::move(result));
}

SDecodeResult CDecodeJob::Decode(const SDecodeOrder& order, const std::atomic<bool>* cancel,
                                 const std::function<void(QImage, QSize)>& preview,
                                 const std::function<void(CPictureSource::SHeader)>& header,
                                 const std::function<void(QImage)>& part) {
    SDecodeResult result;
    result.strPath = order.strPath;
    const auto cancelled = [cancel] { return cancel && cancel->load(); };
    if (cancelled()) {
        result.bCancelled = true;
        return result;
    }
    result.stamp = SFileStamp::Of(order.strPath);
    if (order.checked.IsValid() && result.stamp == order.checked) {
        result.bUnchanged = true;
        return result;
    }
    CPictureSource source;
    source.SetCancelFlag(cancel);
    // A type decoded whole is decoded first: the decoder tells its size, which its header may
    // not (or not truly).
    const bool opened = source.Open(order.strPath);
    if (header && !cancelled())
        header(source.Header());
    // A picture the helper decodes whole shows its stored preview while it is decoded.
    const int format = source.Info().nFormat;
    if (opened && order.bPreview && preview && !cancelled() &&
        (format == picfmt::kHeic || format == picfmt::kAvif))
        if (QImage stand = HelperPreview(source, cancel); !stand.isNull())
            preview(std::move(stand), QSize());
    // A camera RAW file's own preview is read beside the helper's decode, on a descriptor of
    // its own (a failed decode closes the source's); joined before the result goes. With few
    // cores the two would share one, and the preview comes first instead.
    std::jthread standIn;
    if (opened && order.bPreview && preview && !cancelled() && format == picfmt::kRaw)
        if (const int fd = ::fcntl(source.Descriptor(), F_DUPFD_CLOEXEC, 0); fd >= 0) {
            auto read = [fd, &order, cancel, &preview] {
                RawStandIn(fd, order, cancel, preview);
                ::close(fd);
            };
            if (std::thread::hardware_concurrency() >= kCoresForStandInBeside)
                standIn = std::jthread(read);
            else
                read();
        }
    if (opened && (!source.DecodesWhole() || !source.Image(WholeDecodeHint(order)).isNull())) {
        result.ownSize = QSize(source.Info().nWidth, source.Info().nHeight);
        result.target = order.target.isValid() ? order.target
                                               : TargetFor(result.ownSize, order.client, order.bFit,
                                                           order.ratio, order.scale);
        const bool jpeg = source.Info().nFormat == picfmt::kJpg;
        if (order.bPreview && preview && jpeg && !cancelled())
            if (QImage stand = Preview(source, result.ownSize); !stand.isNull())
                preview(std::move(stand), QSize());
        if (order.part.isValid() && part && jpeg && !cancelled())
            if (QImage pixels = Part(source, order.part, cancel); !pixels.isNull())
                part(std::move(pixels));
        result.image = source.ImageAt(result.target);
    }
    result.nBits = source.Info().nBitsPerPixel;
    result.header = source.Header();
    result.bCancelled = cancelled();
    if (result.image.isNull())
        result.strError = source.Error();
    return result;
}

// What a decode of the whole picture is for, while its size is not known: the size asked,
// or, fitted, the view it must cover (a camera RAW file's preview may then serve); else all.
QSize CDecodeJob::WholeDecodeHint(const SDecodeOrder& order) {
    if (order.target.isValid())
        return order.target;
    return order.bFit && !order.client.isEmpty() ? PixelsFor(QSizeF(order.client), order.ratio)
                                                 : QSize();
}

namespace {
// The first `bytes` of the file open at `fd` (its offset untouched); empty when it cannot be
// read.
QByteArray ReadStart(int fd, qint64 bytes) {
    QByteArray data;
    for (qint64 at = 0; fd >= 0 && at < bytes;) {
        data.resize(std::min(bytes, at + (qint64(1) << 20)));
        const ssize_t n = ::pread(fd, data.data() + at, size_t(data.size() - at), off_t(at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {};
        at += n;
        if (n == 0 || at < data.size()) {
            data.resize(at);
            break;
        }
    }
    return data;
}
} // namespace

// The EXIF preview, when its shape is the picture's (cameras pad some to 4:3 with black).
QImage CDecodeJob::Preview(const CPictureSource& source, QSize own) {
    const QImage image =
        CExifThumbnail::Read(ReadStart(source.Descriptor(), CExifThumbnail::kHeadBytes));
    if (image.isNull() || own.isEmpty())
        return {};
    const double aspect = double(image.width()) / image.height();
    const double wanted = double(own.width()) / own.height();
    return std::abs(aspect / wanted - 1.0) <= 0.02 ? image : QImage();
}

// The part is read from the file whole, which the whole decode then finds in the page cache.
QImage CDecodeJob::Part(const CPictureSource& source, QRect part, const std::atomic<bool>* cancel) {
    const QByteArray data = ReadStart(source.Descriptor(), limits::kMaxBufferedFile);
    return cancel && cancel->load() ? QImage() : CJpegRegion::Read(data, part);
}

void CDecodeJob::RawStandIn(int fd, const SDecodeOrder& order, const std::atomic<bool>* cancel,
                            const std::function<void(QImage, QSize)>& preview) {
    const CRawStandIn standIn(fd);
    const QSize own = standIn.Own();
    if (own.isEmpty())
        return;
    const QSize target = order.target.isValid()
                             ? order.target
                             : TargetFor(own, order.client, order.bFit, order.ratio, order.scale);
    // A preview that takes a while to decode is preceded by the thumbnail, shown scaled up.
    if (!standIn.Quick(target) && !(cancel && cancel->load()))
        if (QImage image = standIn.Thumbnail(); !image.isNull())
            preview(std::move(image), own);
    if (QImage image = standIn.Read(target, cancel); !image.isNull())
        preview(std::move(image), own);
}

QImage CDecodeJob::HelperPreview(const CPictureSource& source, const std::atomic<bool>* cancel) {
    const int fd = source.Descriptor();
    return fd < 0 ? QImage()
                  : CDecoderClient::DecodePreview(fd, source.Info().nFormat, cancel).image;
}

QSize CDecodeJob::PixelsFor(QSizeF view, qreal ratio) {
    auto pixels = [ratio](qreal length) {
        return qRound(std::clamp(length * ratio, 1.0, qreal(limits::kMaxSide)));
    };
    return QSize(pixels(view.width()), pixels(view.height()));
}

QSize CDecodeJob::PixelsFor(QSizeF view, qreal ratio, QSize own) {
    const QSize pixels = PixelsFor(view, ratio);
    if (own.isEmpty() || (pixels.width() <= own.width() && pixels.height() <= own.height()))
        return pixels;
    return own;
}

QSize CDecodeJob::TargetFor(QSize own, QSize client, bool fit, qreal ratio, qreal scale) {
    if (own.isEmpty())
        return {};
    if (!fit)
        return PixelsFor(QSizeF(own) * (scale > 0.0 ? scale : 1.0), ratio, own);
    const float w = float(own.width()), h = float(own.height());
    const int percent = CFitScale::Percent(float(client.width()), float(client.height()), w, h);
    return PixelsFor(CFitScale::ScaledSize(w, h, percent), ratio);
}

#include "picture/load/CRawStandIn.h"

#include "picture/format/CExifThumbnail.h"
#include "picture/format/JpegStructure.h"
#include "picture/sandbox/DecodeLimits.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Enough of a preview's start to reach its frame header past the metadata before it.
constexpr qint64 kFrameHeaderBytes = 64 * 1024;
// Far more pixels a byte than a JPEG of a photograph (or of one flat colour) holds: a
// frame that claims more is not decoded.
constexpr qint64 kMaxPixelsPerByte = 1000;
// A preview of more stored pixels than this takes longer to decode than a frame lasts, at
// any scale (its every block is unpacked): the thumbnail goes first.
constexpr qint64 kQuickPixels = 4LL * 1000 * 1000;

qint64 Area(QSize size) {
    return qint64(size.width()) * size.height();
}

// The coarsest of the scales a JPEG decoder reaches by its transform alone (1/8, 1/4, 1/2)
// that keeps `stored` at least `wanted` on each side; `stored` itself when none does.
QSize DctScaled(QSize stored, QSize wanted) {
    for (int d : {8, 4, 2}) {
        const QSize scaled((stored.width() + d - 1) / d, (stored.height() + d - 1) / d);
        if (scaled.width() >= wanted.width() && scaled.height() >= wanted.height())
            return scaled;
    }
    return stored;
}

bool SameShape(QSize a, QSize b) {
    const double shape = double(a.width()) / a.height();
    return std::abs(shape / (double(b.width()) / b.height()) - 1.0) <= 0.03;
}
} // namespace

CRawStandIn::CRawStandIn(int fd) : m_fd(fd) {
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return;
    const QByteArray head = ReadAt(0, std::min<qint64>(st.st_size, CRawPreviews::kHeadBytes));
    const CRawPreviews found(head, st.st_size);
    m_nOrientation = found.Orientation();
    Choose(found);
}

QByteArray CRawStandIn::ReadAt(qint64 offset, qint64 length) const {
    QByteArray data(length, Qt::Uninitialized);
    for (qint64 at = 0; at < length;) {
        const ssize_t n = ::pread(m_fd, data.data() + at, size_t(length - at), off_t(offset + at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return {}; // cut short since its length was read: nothing of it
        at += n;
    }
    return data;
}

QSize CRawStandIn::Upright(QSize stored) const {
    return m_nOrientation >= 5 ? stored.transposed() : stored;
}

// Previews of a picture the program decodes itself, of the sensor's shape where it is known.
void CRawStandIn::Choose(const CRawPreviews& found) {
    for (const CRawPreviews::SPreview& place : found.Previews()) {
        const QSize stored = JpegStructure::FrameSize(
            ReadAt(place.nOffset, std::min(place.nLength, kFrameHeaderBytes)));
        if (!limits::WithinLimits(stored.width(), stored.height()) ||
            Area(stored) > place.nLength * kMaxPixelsPerByte)
            continue;
        if (!found.Sensor().isEmpty() && !SameShape(stored, found.Sensor()))
            continue; // padded to another shape: what the helper shows would differ
        m_candidates << SCandidate{place, stored};
    }
    std::sort(
        m_candidates.begin(), m_candidates.end(),
        [](const SCandidate& a, const SCandidate& b) { return Area(a.stored) < Area(b.stored); });
    const QSize shape = found.Sensor().isEmpty() && !m_candidates.isEmpty()
                            ? m_candidates.back().stored
                            : found.Sensor();
    if (!found.Thumbnail().size.isEmpty() && !shape.isEmpty() &&
        SameShape(found.Thumbnail().size, shape))
        m_thumbnail = found.Thumbnail();
    if (!m_candidates.isEmpty() || !m_thumbnail.size.isEmpty())
        m_own = Upright(shape);
}

const CRawStandIn::SCandidate* CRawStandIn::Covering(QSize target) const {
    if (m_candidates.isEmpty())
        return nullptr;
    if (target.isEmpty())
        return &m_candidates.back();
    for (const SCandidate& candidate : m_candidates) {
        const QSize upright = Upright(candidate.stored);
        if (upright.width() >= target.width() && upright.height() >= target.height())
            return &candidate;
    }
    return &m_candidates.back();
}

// A first sight, soon replaced: half the view's pixels on each side are enough, and the
// decode of a large preview takes a good deal less at a coarser scale.
QSize CRawStandIn::Rough(QSize target) {
    return target.isEmpty() ? target : QSize((target.width() + 1) / 2, (target.height() + 1) / 2);
}

bool CRawStandIn::Quick(QSize target) const {
    const SCandidate* chosen = Covering(Rough(target));
    return chosen && Area(chosen->stored) <= kQuickPixels;
}

QImage CRawStandIn::Thumbnail() const {
    const QSize size = m_thumbnail.size;
    if (size.isEmpty())
        return {};
    const qsizetype row = qsizetype(size.width()) * 3;
    const QByteArray data = ReadAt(m_thumbnail.nOffset, row * size.height());
    if (data.isEmpty())
        return {};
    QImage image(size, QImage::Format_RGB888);
    if (image.isNull())
        return {};
    for (int y = 0; y < size.height(); ++y)
        std::memcpy(image.scanLine(y), data.constData() + row * y, size_t(row));
    return CExifThumbnail::Upright(image.convertToFormat(QImage::Format_RGB32), m_nOrientation);
}

QImage CRawStandIn::Read(QSize target, const std::atomic<bool>* cancel) const {
    const QSize rough = Rough(target);
    const SCandidate* chosen = Covering(rough);
    if (!chosen || (cancel && cancel->load()))
        return {};
    QByteArray jpeg = ReadAt(chosen->place.nOffset, chosen->place.nLength);
    if (!JpegStructure::IsComplete(jpeg)) // the decoder would fill a cut one with grey
        return {};
    limits::ApplyQtAllocationLimit();
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoTransform(false); // the file's orientation turns it, not the preview's own
    if (reader.size() != chosen->stored)
        return {};
    if (!rough.isEmpty())
        if (const QSize scaled = DctScaled(chosen->stored, Upright(rough));
            scaled != chosen->stored)
            reader.setScaledSize(scaled);
    return CExifThumbnail::Upright(reader.read(), m_nOrientation);
}

#include "picture/load/CDateTakenReader.h"

#include "picture/format/CExifDate.h"
#include "picture/format/CTiffDirectory.h"
#include "picture/format/PictureFormat.h"
#include "picture/sandbox/CDateBatch.h"
#include "picture/sandbox/DecoderProtocol.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The types a camera record is read from besides JPEG: the library finds none in the others.
bool CarriesRecord(int format) {
    switch (format) {
    case picfmt::kJpg:
    case picfmt::kTif:
    case picfmt::kPng:
    case picfmt::kWebp:
    case picfmt::kHeic:
    case picfmt::kAvif:
    case picfmt::kRaw:
    case picfmt::kPsd:
        return true;
    default:
        return false;
    }
}

QStringView Suffix(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || path.indexOf(QLatin1Char('/'), dot) >= 0)
        return {};
    return QStringView(path).sliced(dot + 1);
}

// A camera's record fits in one marker segment of at most 64 KB, which comes first.
constexpr qsizetype kFirstBytes = 64 * 1024;

qsizetype ReadHead(int fd, QByteArray& buffer, qsizetype bytes) {
    for (;;) {
        const ssize_t n = ::pread(fd, buffer.data(), size_t(bytes), 0);
        if (n >= 0 || errno != EINTR)
            return qsizetype(n);
    }
}

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load(std::memory_order_relaxed);
}

} // namespace

CDateTakenReader::EHead CDateTakenReader::Look(int fd, const QString& path, QByteArray& buffer,
                                               QDateTime& taken, int& format) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        return EHead::Skip;
    qsizetype n = ReadHead(fd, buffer, std::min(kFirstBytes, buffer.size()));
    if (n <= 0)
        return EHead::Skip;
    QByteArrayView head(buffer.constData(), n);
    format = head.startsWith("\xFF\xD8\xFF") ? picfmt::kJpg
                                             : picfmt::DetectFormat(head, {}, Suffix(path));
    if (format != picfmt::kJpg)
        return CarriesRecord(format) ? EHead::Helper : EHead::Skip;
    bool beyond = false;
    taken = CExifDate::FromTiff(CTiffDirectory::JpegExif(head, &beyond));
    if (beyond && st.st_size > n && n < buffer.size()) { // read on, up to the whole head
        n = std::max<qsizetype>(ReadHead(fd, buffer, buffer.size()), 0);
        head = QByteArrayView(buffer.constData(), n);
        taken = CExifDate::FromTiff(CTiffDirectory::JpegExif(head, &beyond));
    }
    if (!beyond)
        return EHead::Done;
    if (st.st_size <= n) {
        taken = QDateTime(); // a file cut inside its record: the library reads none of it
        return EHead::Done;
    }
    // A record that may lie past the head is left to the library, which reads the whole file.
    return taken.isValid() ? EHead::Done : EHead::Helper;
}

QList<QDateTime> CDateTakenReader::Read(const QList<QString>& paths,
                                        const std::atomic<bool>* cancel) {
    QList<QDateTime> dates(paths.size());
    QByteArray buffer(kHeadBytes, Qt::Uninitialized);
    QList<CDateBatch::SFile> pending;
    QList<qsizetype> where;
    const auto flush = [&] {
        const QList<QDateTime> read = CDateBatch::Read(pending, cancel);
        for (qsizetype i = 0; i < pending.size(); ++i) {
            dates[where[i]] = read.value(i);
            ::close(pending[i].fd);
        }
        pending.clear();
        where.clear();
    };
    for (qsizetype i = 0; i < paths.size() && !Cancelled(cancel); ++i) {
        const int fd = ::open(QFile::encodeName(paths[i]).constData(),
                              O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0)
            continue;
        int format = picfmt::kUnknown;
        if (Look(fd, paths[i], buffer, dates[i], format) != EHead::Helper) {
            ::close(fd);
            continue;
        }
        pending.append({fd, format});
        where.append(i);
        if (pending.size() == decoder_protocol::kMaxFiles)
            flush();
    }
    flush();
    return dates;
}

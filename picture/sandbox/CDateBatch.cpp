#include "picture/sandbox/CDateBatch.h"

#include "picture/sandbox/CDecoderClient.h"
#include "picture/sandbox/DatesProtocol.h"
#include "picture/sandbox/DecodeLimits.h"
#include "picture/sandbox/DecoderProtocol.h"
#include "picture/sandbox/SealedCopy.h"

#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<int> s_runs{0};
std::atomic<int> s_refusals{0};

// The bytes of the file that go into a sealed copy; 0 for a large file handed read-only,
// -1 for one that is not handed on at all.
qint64 CopiedBytes(int fd) {
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        st.st_size > limits::kMaxBufferedFile)
        return -1;
    const bool readOnly = (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY;
    if (st.st_size > limits::kMaxSealedCopy)
        return readOnly ? 0 : -1;
    return qint64(st.st_size);
}

bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load();
}

// The descriptors one run hands over, closed after it.
class CHandOver {
public:
    ~CHandOver() {
        for (int fd : m_copies)
            ::close(fd);
    }
    bool Add(int fd, qint64 copied) {
        if (copied == 0) {
            m_fds.append(fd);
            return true;
        }
        const int copy = sealed_copy::OfFile(fd);
        if (copy < 0)
            return false;
        m_copies.append(copy);
        m_fds.append(copy);
        return true;
    }
    const QList<int>& Fds() const { return m_fds; }

private:
    QList<int> m_fds;
    QList<int> m_copies;
};

} // namespace

int CDateBatch::Runs() {
    return s_runs.load();
}

int CDateBatch::Refusals() {
    return s_refusals.load();
}

QList<QDateTime> CDateBatch::Read(const QList<SFile>& files, const std::atomic<bool>* cancel) {
    QList<QDateTime> dates(files.size());
    SPart part;
    QList<qsizetype> where; // the index in `files` of each of part's
    qint64 copied = 0;
    const auto flush = [&] {
        QList<QDateTime> read(part.files.size());
        ReadPart(part, read, cancel);
        for (qsizetype i = 0; i < where.size(); ++i)
            dates[where[i]] = read[i];
        part = SPart();
        where.clear();
        copied = 0;
    };
    for (qsizetype i = 0; i < files.size() && !Cancelled(cancel); ++i) {
        const qint64 bytes = CopiedBytes(files[i].fd);
        if (bytes < 0)
            continue;
        if (part.files.size() == decoder_protocol::kMaxFiles || copied + bytes > kMaxCopiedBytes)
            flush();
        part.files.append(files[i]);
        part.sizes.append(bytes);
        where.append(i);
        copied += bytes;
    }
    if (!part.files.isEmpty() && !Cancelled(cancel))
        flush();
    return dates;
}

void CDateBatch::ReadPart(const SPart& part, QList<QDateTime>& dates,
                          const std::atomic<bool>* cancel) {
    if (part.files.isEmpty() || Cancelled(cancel) || RunOnce(part, dates, cancel))
        return;
    if (part.files.size() == 1 || Cancelled(cancel))
        return; // that file's date stays unknown
    const qsizetype half = part.files.size() / 2;
    QList<QDateTime> first(half);
    QList<QDateTime> second(part.files.size() - half);
    ReadPart(Slice(part, 0, half), first, cancel);
    ReadPart(Slice(part, half, second.size()), second, cancel);
    dates = first + second;
}

bool CDateBatch::RunOnce(const SPart& part, QList<QDateTime>& dates,
                         const std::atomic<bool>* cancel) {
    CHandOver handOver;
    QStringList formats;
    for (qsizetype i = 0; i < part.files.size(); ++i) {
        if (!handOver.Add(part.files[i].fd, part.sizes[i]))
            return false;
        formats.append(QString::number(part.files[i].format));
    }
    ++s_runs;
    const CDecoderClient::SRun run =
        CDecoderClient::RunOnFiles(handOver.Fds(),
                                   {QStringLiteral("--task"), QStringLiteral("dates"),
                                    QStringLiteral("--formats"), formats.join(QLatin1Char(','))},
                                   cancel);
    QList<QDateTime> read;
    if (!run.strError.isEmpty() || !dates_protocol::Parse(run.answer, part.files.size(), read)) {
        ++s_refusals;
        return false;
    }
    dates = read;
    return true;
}

CDateBatch::SPart CDateBatch::Slice(const SPart& part, qsizetype from, qsizetype count) {
    return SPart{part.files.mid(from, count), part.sizes.mid(from, count)};
}

#include "picture/decode/CDatesTask.h"

#include "picture/decode/CMetadataReader.h"
#include "picture/sandbox/DecodeLimits.h"
#include "picture/sandbox/DecoderProtocol.h"

#include <QByteArray>
#include <QString>

#include <sys/mman.h>
#include <sys/stat.h>

QList<QDateTime> CDatesTask::Read(const QList<int>& formats) {
    QList<QDateTime> dates;
    dates.reserve(formats.size());
    for (qsizetype i = 0; i < formats.size(); ++i)
        dates.append(ReadOne(decoder_protocol::kFirstFileFd + int(i), formats[i]));
    return dates;
}

int CDatesTask::CpuSeconds(qsizetype count) {
    return 2 + int((count + 3) / 4);
}

// The file is mapped rather than read: only the pages the record lies on are read, which
// for a camera RAW file is a small part of it.
QDateTime CDatesTask::ReadOne(int fd, int format) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        st.st_size > limits::kMaxBufferedFile)
        return {};
    void* mapped = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapped == MAP_FAILED)
        return {};
    const QByteArray data =
        QByteArray::fromRawData(static_cast<const char*>(mapped), qsizetype(st.st_size));
    QString error;
    const QDateTime taken = CMetadataReader::Read(data, format, error).taken;
    ::munmap(mapped, size_t(st.st_size));
    return taken;
}

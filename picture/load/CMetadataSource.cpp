#include "picture/load/CMetadataSource.h"

#include "picture/format/CHeaderProbe.h"
#include "picture/format/PictureFormat.h"
#include "picture/sandbox/CDecoderClient.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

PictureMetadata CMetadataSource::Read(const QString& path, const std::atomic<bool>* cancel) {
    PictureMetadata facts;
    // Opened without waiting: a pipe or device under a picture's name never blocks.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return facts;
    }
    const SPictureInfo header = Header(path);
    CDecoderClient::SMetadata read = CDecoderClient::ReadMetadata(fd, header.nFormat, cancel);
    ::close(fd);
    facts = read.facts;
    facts.fileSize = qint64(st.st_size);
    facts.format = header.nFormat;
    // The size the picture is shown at, read as for showing it, rather than what the record
    // claims (a container's may be its coded, padded size).
    if (header.HasSize())
        facts.pixels = QSize(header.nWidth, header.nHeight);
    return facts;
}

SPictureInfo CMetadataSource::Header(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    const QByteArray head = file.read(CHeaderProbe::kHeadBytes);
    QByteArray tail;
    if (file.size() > picfmt::kDetectTailBytes && file.seek(file.size() - picfmt::kDetectTailBytes))
        tail = file.read(picfmt::kDetectTailBytes);
    const int format = picfmt::DetectFormat(head, tail, QFileInfo(path).suffix());
    if (format == picfmt::kUnknown)
        return {};
    return CHeaderProbe::Probe(format, head, &file);
}

QDateTime CMetadataSource::DateTaken(const QString& path) {
    return Read(path).taken;
}

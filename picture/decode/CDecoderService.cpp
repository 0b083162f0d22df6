#include "picture/decode/CDecoderService.h"

#include "picture/decode/CDatesTask.h"
#include "picture/decode/CGhostscriptRunner.h"
#include "picture/decode/CHeifReader.h"
#include "picture/decode/CHelperConfinement.h"
#include "picture/decode/CMagickReader.h"
#include "picture/decode/CMetadataReader.h"
#include "picture/decode/CRawReader.h"
#include "picture/format/CEpsFile.h"
#include "picture/format/PictureFormat.h"
#include "picture/sandbox/DatesProtocol.h"
#include "picture/sandbox/DecodeLimits.h"
#include "picture/sandbox/DecoderProtocol.h"
#include "picture/sandbox/HelperTask.h"
#include "picture/sandbox/MetadataProtocol.h"

#include <QObject>
#include <QtMath>

#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace proto = decoder_protocol;

namespace {

// The answer goes out on a descriptor of its own: some coders print on standard output.
int s_answerFd = STDOUT_FILENO;

void KeepAnswerChannel() {
    // Above every descriptor a task may bring (the files of a run on many come after it).
    const int fd = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, proto::kFirstFileFd + proto::kMaxFiles);
    if (fd >= 0 && ::dup2(STDERR_FILENO, STDOUT_FILENO) >= 0)
        s_answerFd = fd;
}

void Send(const QByteArray& line) {
    for (qsizetype at = 0; at < line.size();) {
        const ssize_t n = ::write(s_answerFd, line.constData() + at, size_t(line.size() - at));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        at += n;
    }
}

int Answer(const proto::SAnswer& answer) {
    Send(proto::FormatAnswer(answer));
    return answer.bOk ? 0 : 2;
}

int Refuse(const QString& reason) {
    proto::SAnswer answer;
    answer.strError = reason;
    return Answer(answer);
}

// A list of picture types, one a file: "81,83,75".
bool ParseFormats(const QString& value, QList<int>& formats) {
    const QStringList parts = value.split(QLatin1Char(','));
    formats.clear();
    for (const QString& part : parts) {
        bool ok = false;
        formats.append(part.toInt(&ok));
        if (!ok)
            return false;
    }
    return !formats.isEmpty() && formats.size() <= proto::kMaxFiles;
}

} // namespace

bool CDecoderService::ParseArguments(const QStringList& args, SRequest& request) {
    bool formatGiven = false;
    for (qsizetype i = 0; i + 1 < args.size(); i += 2) {
        const QString& key = args[i];
        const QString& value = args[i + 1];
        bool ok = true;
        if (key == QLatin1String("--format")) {
            request.nFormat = value.toInt(&ok);
            formatGiven = ok;
        } else if (key == QLatin1String("--size")) {
            const QStringList wh = value.split(QLatin1Char('x'));
            ok = wh.size() == 2;
            request.target = ok ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize();
        } else if (key == QLatin1String("--memory")) {
            request.nMemoryLimit = value.toLongLong(&ok);
        } else if (key == QLatin1String("--task")) {
            request.bMetadata = value == QLatin1String("metadata");
            request.bPreview = value == QLatin1String("preview");
            request.bDates = value == QLatin1String("dates");
            ok = request.bMetadata || request.bPreview || request.bDates;
        } else if (key == QLatin1String("--formats")) {
            ok = ParseFormats(value, request.formats);
        } else if (key == QLatin1String("--gs")) {
            request.strGhostscript = value;
        } else {
            ok = false;
        }
        if (!ok)
            return false;
    }
    return formatGiven && args.size() % 2 == 0 && request.bDates == !request.formats.isEmpty();
}

int CDecoderService::Run(const QStringList& args) {
    KeepAnswerChannel();
    QStringList task = args;
    // Started ahead: the task comes from the program once a picture is asked for.
    if (args == QStringList{QString::fromLatin1(helper_task::kWaitArgument)} &&
        !helper_task::Receive(proto::kInputFd, task))
        return Refuse(QStringLiteral("no task"));
    SRequest request;
    if (!ParseArguments(task, request))
        return Refuse(QStringLiteral("bad arguments"));
    // Whatever runs below (Ghostscript) sees neither descriptor.
    for (int fd : {proto::kInputFd, proto::kPixelsFd})
        if (::fcntl(fd, F_SETFD, FD_CLOEXEC) != 0)
            return Refuse(QStringLiteral("no input or output descriptor"));
    if (request.bDates)
        return AnswerDates(request);
    // Not a byte of the picture is read before the helper is shut in; it never decodes
    // unconfined.
    if (const QString unconfined = Confine(request); !unconfined.isEmpty())
        return Refuse(unconfined);
    if (request.bMetadata)
        return AnswerMetadata(request.nFormat);
    SDecoded decoded;
    if ((request.nFormat == picfmt::kRaw && !request.bPreview) ||
        request.nFormat == picfmt::kHeic || request.nFormat == picfmt::kAvif) {
        decoded = DecodeMapped(request); // reads only as much of the file as it needs
    } else {
        QByteArray data;
        if (QString error; !ReadInput(data, error))
            return Refuse(error);
        decoded = Decode(data, request);
    }
    if (decoded.image.isNull())
        return Refuse(decoded.strError);
    const QImage& image = decoded.image;
    const QImage pixels = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                        : QImage::Format_RGB32);
    if (!WritePixels(pixels))
        return Refuse(QObject::tr("The decoded picture could not be handed back."));
    proto::SAnswer answer;
    answer.bOk = true;
    answer.nWidth = pixels.width();
    answer.nHeight = pixels.height();
    answer.nBits = decoded.nBits;
    answer.bAlpha = pixels.hasAlphaChannel();
    answer.nOwnWidth = decoded.ownSize.width();
    answer.nOwnHeight = decoded.ownSize.height();
    return Answer(answer);
}

int CDecoderService::AnswerMetadata(int format) {
    QByteArray data;
    QString error;
    if (!ReadInput(data, error))
        return Refuse(error);
    const PictureMetadata facts = CMetadataReader::Read(data, format, error);
    if (!error.isEmpty())
        return Refuse(error);
    Send(metadata_protocol::Format(facts));
    return 0;
}

int CDecoderService::AnswerDates(const SRequest& request) {
    for (qsizetype i = 0; i < request.formats.size(); ++i)
        if (::fcntl(proto::kFirstFileFd + int(i), F_SETFD, FD_CLOEXEC) != 0)
            return Refuse(QStringLiteral("a file's descriptor is missing"));
    // A record the reader loops over stops the run, not the program's wait.
    const rlim_t seconds = rlim_t(CDatesTask::CpuSeconds(request.formats.size()));
    rlimit cpu{};
    if (::getrlimit(RLIMIT_CPU, &cpu) == 0 && cpu.rlim_cur > seconds) {
        cpu.rlim_cur = seconds;
        ::setrlimit(RLIMIT_CPU, &cpu);
    }
    if (const QString unconfined = Confine(request); !unconfined.isEmpty())
        return Refuse(unconfined);
    Send(dates_protocol::Format(CDatesTask::Read(request.formats)));
    return 0;
}

QString CDecoderService::Confine(const SRequest& request) {
    CHelperConfinement::SOptions confinement;
    confinement.strTemp = qEnvironmentVariable("TMPDIR");
    confinement.bRunsPrograms =
        request.nFormat == picfmt::kEps && !request.bMetadata && !request.bPreview;
    const CHelperConfinement::SResult shut = CHelperConfinement::Apply(confinement);
    if (shut.bConfined)
        return {};
    return QObject::tr("This picture type is decoded in a sandbox, which could not be started: "
                       "%1")
        .arg(shut.strError);
}

bool CDecoderService::ReadInput(QByteArray& data, QString& error) {
    constexpr qint64 kChunk = 1024 * 1024;
    qint64 at = 0;
    for (;;) {
        if (at > limits::kMaxBufferedFile) {
            error = QObject::tr("The file is too large to show.");
            return false;
        }
        data.resize(at + kChunk);
        const ssize_t n = ::pread(proto::kInputFd, data.data() + at, size_t(kChunk), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error = QObject::tr("The file cannot be read.");
            return false;
        }
        at += n;
        if (n == 0)
            break;
    }
    data.resize(at);
    return true;
}

bool CDecoderService::WritePixels(const QImage& image) {
    const qint64 bytes = qint64(image.bytesPerLine()) * image.height();
    if (image.bytesPerLine() != image.width() * 4 || ::ftruncate(proto::kPixelsFd, bytes) != 0)
        return false;
    const char* from = reinterpret_cast<const char*>(image.constBits());
    for (qint64 at = 0; at < bytes;) {
        const ssize_t n = ::pwrite(proto::kPixelsFd, from + at, size_t(bytes - at), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        at += n;
    }
    return true;
}

CDecoderService::SDecoded CDecoderService::Decode(const QByteArray& data, const SRequest& request) {
    SDecoded out;
    if (request.bPreview) {
        if (request.nFormat == picfmt::kHeic || request.nFormat == picfmt::kAvif)
            out.image = CHeifReader::ReadThumbnail(data, out.nBits, out.strError);
        else
            out.strError = QObject::tr("The file holds no preview.");
    } else if (request.nFormat == picfmt::kEps) {
        out.nBits = 24;
        out.image = DecodePostScript(data, request, out.strError);
    } else if (request.nFormat == picfmt::kHeic || request.nFormat == picfmt::kAvif) {
        out.image = CHeifReader::Read(data, out.nBits, out.strError);
    } else if (request.nFormat == picfmt::kRaw) {
        out = FromRaw(CRawReader::Read(data, request.target));
    } else {
        out.image = CMagickReader::Read(data, request.nFormat, out.nBits, out.strError);
    }
    return out;
}

// The input is mapped rather than read: pages are read only as the library reaches them (a
// HEIF file's preview is a small part of it), and the descriptor is never reopened by name
// (which the confinement would refuse for a file of the user's).
CDecoderService::SDecoded CDecoderService::DecodeMapped(const SRequest& request) {
    struct stat st {};
    if (::fstat(proto::kInputFd, &st) != 0 || st.st_size <= 0 ||
        st.st_size > limits::kMaxBufferedFile) {
        SDecoded out;
        out.strError = st.st_size > limits::kMaxBufferedFile
                           ? QObject::tr("The file is too large to show.")
                           : QObject::tr("The file cannot be read.");
        return out;
    }
    void* mapped = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, proto::kInputFd, 0);
    if (mapped == MAP_FAILED) {
        QByteArray data;
        QString error;
        if (!ReadInput(data, error))
            return SDecoded{QImage(), 0, QSize(), error};
        return Decode(data, request);
    }
    const QByteArray data =
        QByteArray::fromRawData(static_cast<const char*>(mapped), qsizetype(st.st_size));
    SDecoded out = Decode(data, request);
    ::munmap(mapped, size_t(st.st_size));
    return out;
}

CDecoderService::SDecoded CDecoderService::FromRaw(CRawReader::SResult raw) {
    SDecoded out;
    out.image = std::move(raw.image);
    out.nBits = 24;
    out.ownSize = raw.ownSize;
    out.strError = raw.strError;
    return out;
}

QImage CDecoderService::DecodePostScript(const QByteArray& data, const SRequest& request,
                                         QString& error) {
    const CEpsFile eps(data);
    const QRectF box = eps.BoundingBox();
    if (box.isEmpty()) {
        error = QObject::tr("The PostScript file gives no bounding box.");
        return {};
    }
    QSize target = request.target;
    if (!target.isValid() || target.isEmpty())
        target = QSize(qCeil(box.width()), qCeil(box.height()));
    double scale = std::min(target.width() / box.width(), target.height() / box.height());
    const double pixels = box.width() * box.height() * scale * scale;
    if (pixels > double(limits::kMaxPixels))
        scale *= std::sqrt(double(limits::kMaxPixels) / pixels);
    CGhostscriptRunner::SJob job;
    job.strProgram = request.strGhostscript;
    job.dResolution = 72.0 * scale;
    job.nMemoryLimit = request.nMemoryLimit;
    return CGhostscriptRunner::Render(eps.PostScript(), job, error);
}

#include "picture/CPictureSource.h"

#include "picture/CDataSizeCheck.h"
#include "picture/CDecoderClient.h"
#include "picture/CEpsFile.h"
#include "picture/CEpsRenderer.h"
#include "picture/CHeaderProbe.h"
#include "picture/CMspReader.h"
#include "picture/CQtPictureReader.h"
#include "picture/DecodeLimits.h"
#include "picture/JpegStructure.h"
#include "picture/PictureFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QtMath>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct SFileStart {
    QByteArray head;
    QByteArray tail;
};

bool ReadStart(QFile& file, qint64 headBytes, SFileStart& start) {
    start.head = file.read(headBytes);
    const qint64 size = file.size();
    if (size > start.head.size()) {
        file.seek(std::max<qint64>(0, size - picfmt::kDetectTailBytes));
        start.tail = file.read(picfmt::kDetectTailBytes);
    } else {
        start.tail = start.head.right(picfmt::kDetectTailBytes);
    }
    return !start.head.isEmpty();
}

bool IsQtType(int format) {
    return !CQtPictureReader::ReaderName(format).isEmpty();
}

} // namespace

CPictureSource::CPictureSource() {
    limits::ApplyQtAllocationLimit();
}
CPictureSource::~CPictureSource() = default;

void CPictureSource::Close() {
    m_strPath.clear();
    m_info = SPictureInfo();
    m_image = QImage();
    m_bWholeImage = false;
    m_pEps.reset();
}

bool CPictureSource::Fail(const QString& message) {
    Close();
    m_strError = message;
    return false;
}

bool CPictureSource::IsCancelled() const {
    return m_pCancel && m_pCancel->load(std::memory_order_relaxed);
}

bool CPictureSource::FailCancelled() {
    return Fail(QObject::tr("Decoding was cancelled."));
}

int CPictureSource::DetectFileFormat(const QString& path) {
    if (!QFileInfo(path).isFile())
        return picfmt::kUnknown;
    QFile file(path);
    SFileStart start;
    if (!file.open(QIODevice::ReadOnly) || !ReadStart(file, picfmt::kDetectHeadBytes, start))
        return picfmt::kUnknown;
    return picfmt::DetectFormat(start.head, start.tail, QFileInfo(path).suffix());
}

bool CPictureSource::Open(const QString& path) {
    Close();
    m_strError.clear();
    const QFileInfo info(path);
    if (!info.exists())
        return Fail(QObject::tr("The file does not exist."));
    if (!info.isFile()) // a folder, a pipe or a device would never end or block reading
        return Fail(QObject::tr("This is not an ordinary file."));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(QObject::tr("The file cannot be read (%1).").arg(file.errorString()));
    if (file.size() == 0)
        return Fail(QObject::tr("The file is empty."));
    SFileStart start;
    if (!ReadStart(file, CHeaderProbe::kHeadBytes, start))
        return Fail(QObject::tr("The file cannot be read (%1).").arg(file.errorString()));
    const int format = picfmt::DetectFormat(start.head, start.tail, QFileInfo(path).suffix());
    if (format == picfmt::kUnknown)
        return Fail(QObject::tr("The file is not a picture of a type this program shows."));
    m_info = CHeaderProbe::Probe(format, start.head, &file);
    if (!CheckSize())
        return false;
    if (const QString damaged = CDataSizeCheck::Check(file, m_info); !damaged.isEmpty())
        return Fail(damaged);
    if (IsCancelled())
        return FailCancelled();
    m_strPath = path;
    if (IsQtType(format) && OpenWithQt(path))
        return true;
    if (!m_strError.isEmpty())
        return false;
    return OpenBuffered(path, file.size());
}

bool CPictureSource::CheckSize() {
    if (!m_info.HasSize() || limits::WithinLimits(m_info.nWidth, m_info.nHeight))
        return true;
    return Fail(QObject::tr("The picture is too large to show (%1 x %2 pixels).")
                    .arg(m_info.nWidth)
                    .arg(m_info.nHeight));
}

// True when Qt takes the file; false with an error set when the file is bad, and false
// without one when another reader should try (Targa files Qt refuses).
bool CPictureSource::OpenWithQt(const QString& path) {
    if (m_info.nFormat == picfmt::kJpg && !IsCompleteJpeg(path))
        return Fail(QObject::tr("The picture data ends early (the file is incomplete)."));
    QString error;
    if (!CQtPictureReader::ReadHeader(path, m_info.nFormat, m_info, error)) {
        if (m_info.nFormat == picfmt::kTga)
            return false;
        return Fail(QObject::tr("The picture header is damaged."));
    }
    return CheckSize();
}

bool CPictureSource::IsCompleteJpeg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Most files end with their end-of-image marker; only the others need the walk. (Read
    // rather than mapped: a mapped file cut short by another program meanwhile would bring
    // the process down.)
    if (file.seek(file.size() - 2) && file.read(2) == "\xFF\xD9")
        return true;
    return file.seek(0) && JpegStructure::IsComplete(file.readAll());
}

bool CPictureSource::OpenBuffered(const QString& path, qint64 fileSize) {
    if (fileSize > limits::kMaxBufferedFile)
        return Fail(QObject::tr("The file is too large to show (%1 bytes).").arg(fileSize));
    if (m_info.nFormat != picfmt::kEps && m_info.nFormat != picfmt::kMsp)
        return OpenInHelper(path);
    QFile file(path);
    QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (data.size() != fileSize)
        return Fail(QObject::tr("The file cannot be read (%1).").arg(file.errorString()));
    if (m_info.nFormat == picfmt::kEps) {
        m_pEps = std::make_unique<CEpsFile>(std::move(data));
        if (m_pEps->BoundingBox().isEmpty())
            return Fail(QObject::tr("The PostScript file gives no bounding box."));
        m_info.nWidth = qCeil(m_pEps->BoundingBox().width());
        m_info.nHeight = qCeil(m_pEps->BoundingBox().height());
        return CheckSize();
    }
    QString error;
    const QImage image = CMspReader::Read(data, error);
    if (image.isNull())
        return Fail(error);
    m_image = image;
    m_bWholeImage = true;
    m_info.nWidth = image.width();
    m_info.nHeight = image.height();
    return true;
}

// The legacy types: decoded whole by the decoder helper, which reads the open file.
bool CPictureSource::OpenInHelper(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        return Fail(QObject::tr("The file cannot be read."));
    }
    char emf[4] = {};
    const bool enhanced = m_info.nFormat == picfmt::kWmf && ::pread(fd, emf, 4, 40) == 4 &&
                          QByteArrayView(emf, 4) == " EMF";
    const CDecoderClient::SResult result =
        enhanced ? CDecoderClient::SResult()
                 : CDecoderClient::Decode(fd, m_info.nFormat, {}, m_pCancel);
    ::close(fd);
    if (enhanced) // no reader on this system draws enhanced metafiles
        return Fail(QObject::tr("Enhanced metafiles cannot be shown."));
    if (result.image.isNull())
        return Fail(result.strError);
    m_image = result.image;
    m_bWholeImage = true; // the largest the helper offers (a camera RAW file: a stand-in)
    const QSize own = result.ownSize.isValid() ? result.ownSize : m_image.size();
    m_info.nWidth = own.width();
    m_info.nHeight = own.height();
    if (m_info.nBitsPerPixel <= 0)
        m_info.nBitsPerPixel = result.nBits;
    return true;
}

bool CPictureSource::CanServe(QSize target) const {
    if (m_image.isNull())
        return false;
    if (m_bWholeImage)
        return true;
    return target.isValid() && !target.isEmpty() && m_image.width() >= target.width() &&
           m_image.height() >= target.height();
}

QImage CPictureSource::Image(QSize target) {
    if (!IsOpen())
        return {};
    if (CanServe(target))
        return m_image;
    if (IsCancelled()) {
        FailCancelled();
        return {};
    }
    QImage image = Decode(target);
    if (IsCancelled()) {
        FailCancelled();
        return {};
    }
    if (image.isNull()) {
        const QString error = m_strError;
        Fail(error.isEmpty() ? QObject::tr("The picture data is damaged.") : error);
        return {};
    }
    m_image = image;
    // PostScript is drawn afresh for every larger size; pixels only up to their own size.
    m_bWholeImage = !m_pEps && image.width() >= m_info.nWidth && image.height() >= m_info.nHeight;
    return m_image;
}

QImage CPictureSource::ImageAt(QSize target) {
    const QImage image = Image(target);
    if (IsCancelled())
        return {};
    const bool scale = !image.isNull() && target.isValid() && !target.isEmpty() &&
                       image.size() != target &&
                       qint64(target.width()) * target.height() <= limits::kMaxPixels;
    return scale ? image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation) : image;
}

QImage CPictureSource::Decode(QSize target) {
    const bool wanted = target.isValid() && !target.isEmpty();
    QString error;
    if (m_pEps) {
        QImage image = CEpsRenderer::Render(*m_pEps, wanted ? target : QSize(), m_pCancel, error);
        m_strError = error;
        return image;
    }
    const bool smaller =
        wanted && target.width() < m_info.nWidth && target.height() < m_info.nHeight;
    QImage image = CQtPictureReader::Decode(m_strPath, m_info.nFormat, smaller ? target : QSize(),
                                            error, m_pCancel);
    if (image.isNull())
        m_strError = error.isEmpty() || error == QLatin1String("Unknown error")
                         ? QObject::tr("The picture data is damaged.")
                         : QObject::tr("The picture data is damaged (%1).").arg(error);
    return image;
}

#include "picture/load/CPictureSource.h"

#include "picture/format/CDataSizeCheck.h"
#include "picture/format/CEpsFile.h"
#include "picture/format/CHeaderProbe.h"
#include "picture/format/JpegStructure.h"
#include "picture/format/PictureFormat.h"
#include "picture/load/CEpsRenderer.h"
#include "picture/load/CMspReader.h"
#include "picture/load/CQtPictureReader.h"
#include "picture/sandbox/CDecoderClient.h"
#include "picture/sandbox/DecodeLimits.h"

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
    m_eReader = EReader::Qt;
    m_nFileSize = 0;
    m_nDetected = 0;
    m_nDecodedBits = 0;
    m_decodedOwn = QSize();
    m_pEps.reset();
    m_pFile.reset();
}

int CPictureSource::Descriptor() const {
    return m_pFile && m_pFile->isOpen() ? m_pFile->handle() : -1;
}

bool CPictureSource::Fail(const QString& message) {
    // The reason goes with what was found of the file: its length and its real type.
    const qint64 fileSize = m_nFileSize;
    const int detected = m_nDetected;
    Close();
    m_nFileSize = fileSize;
    m_nDetected = detected;
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
    m_pFile = std::make_unique<QFile>(path);
    QFile& file = *m_pFile;
    if (!file.open(QIODevice::ReadOnly))
        return Fail(QObject::tr("The file cannot be read (%1).").arg(file.errorString()));
    const qint64 fileSize = file.size();
    m_nFileSize = fileSize;
    if (fileSize == 0)
        return Fail(QObject::tr("The file is empty."));
    SFileStart start;
    if (!ReadStart(file, CHeaderProbe::kHeadBytes, start))
        return Fail(QObject::tr("The file cannot be read (%1).").arg(file.errorString()));
    const int format = picfmt::DetectFormat(start.head, start.tail, QFileInfo(path).suffix());
    m_nDetected = format;
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
    if (IsQtType(format) && OpenWithQt(file))
        return true;
    if (!m_strError.isEmpty())
        return false;
    return OpenBuffered(fileSize);
}

bool CPictureSource::Adopt(const QString& path, const SHeader& header) {
    Close();
    m_strError = header.strError;
    if (!m_strError.isEmpty() || header.info.nFormat == 0)
        return Fail(m_strError);
    m_strPath = path;
    m_info = header.info;
    m_eReader = header.reader;
    m_nFileSize = header.nFileSize;
    m_nDetected = header.nDetected;
    return true;
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
bool CPictureSource::OpenWithQt(QFile& file) {
    if (m_info.nFormat == picfmt::kJpg && !IsCompleteJpeg(file))
        return Fail(QObject::tr("The picture data ends early (the file is incomplete)."));
    QString error;
    if (!file.seek(0) || !CQtPictureReader::ReadHeader(&file, m_info.nFormat, m_info, error)) {
        if (m_info.nFormat == picfmt::kTga)
            return false;
        return Fail(QObject::tr("The picture header is damaged."));
    }
    return CheckSize();
}

bool CPictureSource::IsCompleteJpeg(QFile& file) {
    // Most files end with their end-of-image marker; only the others need the walk. (Read
    // rather than mapped: a mapped file cut short by another program meanwhile would bring
    // the process down.)
    if (file.seek(file.size() - 2) && file.read(2) == "\xFF\xD9")
        return true;
    return file.seek(0) && JpegStructure::IsComplete(file.readAll());
}

bool CPictureSource::OpenBuffered(qint64 fileSize) {
    if (fileSize > limits::kMaxBufferedFile)
        return Fail(QObject::tr("The file is too large to show (%1 bytes).").arg(fileSize));
    if (m_info.nFormat == picfmt::kMsp) {
        m_eReader = EReader::Paint; // its header gives the size; the pixels come in Image
        return true;
    }
    if (m_info.nFormat != picfmt::kEps)
        return OpenForHelper();
    m_eReader = EReader::PostScript;
    return LoadPostScript(fileSize);
}

bool CPictureSource::LoadPostScript(qint64 fileSize) {
    QString error;
    QByteArray data = ReadWhole(error);
    if (!error.isEmpty())
        return Fail(error);
    if (data.size() != fileSize) // it changed since it was opened
        return Fail(QObject::tr("The file cannot be read."));
    m_pEps = std::make_unique<CEpsFile>(std::move(data));
    if (m_pEps->BoundingBox().isEmpty())
        return Fail(QObject::tr("The PostScript file gives no bounding box."));
    m_info.nWidth = qCeil(m_pEps->BoundingBox().width());
    m_info.nHeight = qCeil(m_pEps->BoundingBox().height());
    return CheckSize();
}

// The types the decoder helper decodes whole: only what tells at once that the file cannot be
// shown is looked at here; the size is the header's, or comes with the pixels.
bool CPictureSource::OpenForHelper() {
    m_eReader = EReader::Helper;
    if (m_info.nFormat != picfmt::kWmf)
        return true;
    if (m_pFile->seek(40) && m_pFile->read(4) == " EMF") // no reader on this system draws these
        return Fail(QObject::tr("Enhanced metafiles cannot be shown."));
    return true;
}

void CPictureSource::TakeDecodedFigures(QSize own, int bitsPerPixel) {
    if (!IsOpen())
        return;
    // A stand-in (a camera RAW file's preview) may be for a picture beyond the pixel limit.
    if (!own.isEmpty() && own.width() <= limits::kMaxSide && own.height() <= limits::kMaxSide) {
        m_info.nWidth = own.width();
        m_info.nHeight = own.height();
    }
    if (m_info.nBitsPerPixel <= 0 && bitsPerPixel > 0)
        m_info.nBitsPerPixel = bitsPerPixel;
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
    KeepDecoded(image);
    return m_image;
}

void CPictureSource::KeepDecoded(const QImage& image) {
    m_image = image;
    if (DecodesWhole()) { // the decoder tells the true size, with the pixels
        // The largest the helper offers (a camera RAW file: a stand-in, smaller).
        m_bWholeImage = true;
        TakeDecodedFigures(m_decodedOwn.isValid() ? m_decodedOwn : image.size(), m_nDecodedBits);
        return;
    }
    // PostScript is drawn afresh for every larger size; pixels only up to their own size.
    m_bWholeImage = !m_pEps && image.width() >= m_info.nWidth && image.height() >= m_info.nHeight;
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
    if (m_eReader == EReader::Helper)
        return DecodeInHelper(target);
    if (m_eReader == EReader::Paint)
        return DecodePaint();
    // Adopted, a PostScript file is read only now.
    if (m_eReader == EReader::PostScript && !m_pEps && !LoadPostScript(m_nFileSize))
        return {};
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
                                            error, m_pCancel, Descriptor());
    if (image.isNull())
        m_strError = error.isEmpty() || error == QLatin1String("Unknown error")
                         ? QObject::tr("The picture data is damaged.")
                         : QObject::tr("The picture data is damaged (%1).").arg(error);
    return image;
}

// Read from a descriptor of its own: the helper gets the open file, never its name. `target`
// lets it choose a smaller stand-in that covers it (a camera RAW file's preview).
QImage CPictureSource::DecodeInHelper(QSize target) {
    const bool opened = Descriptor() >= 0; // by Open: the same descriptor crosses to the helper
    const int fd = opened ? Descriptor()
                          : ::open(QFile::encodeName(m_strPath).constData(),
                                   O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0 && !opened)
            ::close(fd);
        m_strError = QObject::tr("The file cannot be read.");
        return {};
    }
    const CDecoderClient::SResult result =
        CDecoderClient::Decode(fd, m_info.nFormat, target, m_pCancel);
    if (!opened)
        ::close(fd);
    m_strError = result.strError;
    m_nDecodedBits = result.nBits;
    m_decodedOwn = result.ownSize;
    return result.image;
}

QImage CPictureSource::DecodePaint() {
    QString error;
    const QByteArray data = ReadWhole(error);
    if (!error.isEmpty()) {
        m_strError = error;
        return {};
    }
    QImage image = CMspReader::Read(data, error);
    m_strError = error;
    return image;
}

// The whole file, through the descriptor Open kept (a picture is opened once); adopted, it is
// opened only now.
QByteArray CPictureSource::ReadWhole(QString& error) {
    QFile named(m_strPath);
    const bool kept = Descriptor() >= 0;
    QFile& file = kept ? *m_pFile : named;
    if (!kept && !named.open(QIODevice::ReadOnly)) {
        error = QObject::tr("The file cannot be read (%1).").arg(named.errorString());
        return {};
    }
    if (file.size() > limits::kMaxBufferedFile) { // it grew since it was opened
        error = QObject::tr("The file is too large to show (%1 bytes).").arg(file.size());
        return {};
    }
    if (!file.seek(0)) {
        error = QObject::tr("The file cannot be read (%1).").arg(file.errorString());
        return {};
    }
    return file.readAll();
}

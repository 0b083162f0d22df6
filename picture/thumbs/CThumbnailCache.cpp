#include "picture/thumbs/CThumbnailCache.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QByteArray kUriKey = QByteArrayLiteral("Thumb::URI");
const QByteArray kMTimeKey = QByteArrayLiteral("Thumb::MTime");
constexpr qint64 kMaxThumbnailBytes = 8 * 1024 * 1024;

// The characters a path keeps unescaped in a file URI; every other byte becomes %XX.
bool KeptInPath(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    static constexpr char kKept[] = "-_.!~*'()/&=:@+$,";
    return c != 0 && std::char_traits<char>::find(kKept, sizeof kKept - 1, char(c)) != nullptr;
}

quint32 Crc32(QByteArrayView data) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<unsigned char>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc & 1) != 0 ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
    }
    return ~crc;
}

void AppendBigEndian(QByteArray& out, quint32 value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((value >> shift) & 0xFF);
}

// A tEXt chunk: the desktop's readers of thumbnails look for these uncompressed (Qt's
// writer compresses longer texts into zTXt, which they pass over).
QByteArray TextChunk(const QByteArray& key, const QByteArray& text) {
    const QByteArray body = "tEXt" + key + '\0' + text;
    QByteArray chunk;
    AppendBigEndian(chunk, quint32(body.size() - 4));
    chunk += body;
    AppendBigEndian(chunk, Crc32(body));
    return chunk;
}

QByteArray ReadWhole(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= kMaxThumbnailBytes) {
        bytes.resize(qsizetype(st.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        bytes.truncate(done);
    }
    ::close(fd);
    return bytes;
}

// Creates the folder and any missing parents, each new one readable by the user alone.
bool MakeFolders(const QString& folder) {
    const QByteArray path = QFile::encodeName(QDir::cleanPath(folder));
    for (qsizetype slash = path.indexOf('/', 1);; slash = path.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? path : path.left(slash);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            break;
    }
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}
} // namespace

CThumbnailCache::CThumbnailCache(const QString& root, int edge)
    : m_strRoot(root), m_nEdge(edge == kLargeEdge ? kLargeEdge : kNormalEdge) {
}

QString CThumbnailCache::DefaultRoot() {
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || !QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return cache + QStringLiteral("/thumbnails");
}

QByteArray CThumbnailCache::FileUri(const QByteArray& nativePath) {
    QByteArray uri = QByteArrayLiteral("file://");
    for (const char ch : nativePath) {
        const auto c = static_cast<unsigned char>(ch);
        if (KeptInPath(c)) {
            uri += ch;
        } else {
            uri += '%';
            uri += QByteArray::number(c >> 4, 16).toUpper();
            uri += QByteArray::number(c & 0xF, 16).toUpper();
        }
    }
    return uri;
}

QString CThumbnailCache::FileName(const QByteArray& uri) {
    return QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

QString CThumbnailCache::ThumbnailPath(const QByteArray& nativePath) const {
    const QString folder =
        m_nEdge == kLargeEdge ? QStringLiteral("large") : QStringLiteral("normal");
    return m_strRoot + QLatin1Char('/') + folder + QLatin1Char('/') + FileName(FileUri(nativePath));
}

QString CThumbnailCache::FailurePath(const QByteArray& nativePath) const {
    return m_strRoot + QStringLiteral("/fail/vantrel-") + QStringLiteral(VANTREL_VERSION) +
           QLatin1Char('/') + FileName(FileUri(nativePath));
}

QImage CThumbnailCache::Find(const QByteArray& nativePath, qint64 mtime) const {
    return ReadValid(ThumbnailPath(nativePath), FileUri(nativePath), mtime);
}

bool CThumbnailCache::HasFailed(const QByteArray& nativePath, qint64 mtime) const {
    return !ReadValid(FailurePath(nativePath), FileUri(nativePath), mtime).isNull();
}

bool CThumbnailCache::Store(const QByteArray& nativePath, qint64 mtime, const QImage& image) const {
    if (image.isNull())
        return false;
    QImage fitted = image;
    if (image.width() > m_nEdge || image.height() > m_nEdge)
        fitted = image.scaled(m_nEdge, m_nEdge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QString path = ThumbnailPath(nativePath);
    return WriteAtomically(QFileInfo(path).path(), QFileInfo(path).fileName(),
                           Encode(fitted, FileUri(nativePath), mtime));
}

bool CThumbnailCache::StoreFailure(const QByteArray& nativePath, qint64 mtime) const {
    QImage mark(1, 1, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    const QString path = FailurePath(nativePath);
    return WriteAtomically(QFileInfo(path).path(), QFileInfo(path).fileName(),
                           Encode(mark, FileUri(nativePath), mtime));
}

QImage CThumbnailCache::ReadValid(const QString& path, const QByteArray& uri, qint64 mtime) {
    QByteArray bytes = ReadWhole(path);
    if (bytes.isEmpty())
        return {};
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "png");
    reader.setAllocationLimit(kMaxThumbnailBytes / (1024 * 1024) * 4);
    // The image's own text: the reader's would cut the keys at their colons.
    const QImage image = reader.read();
    if (image.text(QString::fromLatin1(kUriKey)).toUtf8() != uri ||
        image.text(QString::fromLatin1(kMTimeKey)) != QString::number(mtime))
        return {};
    return image;
}

QByteArray CThumbnailCache::Encode(const QImage& image, const QByteArray& uri, qint64 mtime) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    // The pixels alone: texts the picture brought along (another file's URI) stay behind.
    QImage plain(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                 image.format());
    plain.setColorTable(image.colorTable());
    if (!writer.write(plain))
        return {};
    // The text chunks go right after the header chunk (8 bytes signature, 25 the header).
    constexpr qsizetype kAfterHeader = 8 + 25;
    if (bytes.size() < kAfterHeader || bytes.mid(12, 4) != "IHDR")
        return {};
    const QByteArray chunks = TextChunk(kUriKey, uri) +
                              TextChunk(kMTimeKey, QByteArray::number(mtime)) +
                              TextChunk("Software", "Vantrel");
    return bytes.insert(kAfterHeader, chunks);
}

// A new file under a temporary name (created exclusively, mode 0600), then renamed over
// the thumbnail's name: a reader sees the old thumbnail or the whole new one.
bool CThumbnailCache::WriteAtomically(const QString& folder, const QString& name,
                                      const QByteArray& bytes) {
    if (bytes.isEmpty() || !MakeFolders(folder))
        return false;
    QByteArray temp = QFile::encodeName(folder + QStringLiteral("/.vantrel-XXXXXX"));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fchmod(fd, 0600) == 0;
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        ok = n > 0;
        done += ok ? n : 0;
    }
    ok = ::close(fd) == 0 && ok;
    const QByteArray target = QFile::encodeName(folder + QLatin1Char('/') + name);
    ok = ok && ::rename(temp.constData(), target.constData()) == 0;
    if (!ok)
        ::unlink(temp.constData());
    return ok;
}

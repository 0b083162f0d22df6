#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The thumbnail cache the desktop shares: one PNG a picture, named by the MD5 of the
// picture's file URI, in `normal` (128 pixels) or `large` (256 pixels) below the cache
// folder, carrying the URI and the picture's modification time in text chunks. A
// thumbnail whose time differs from the picture's is out of date. Pictures that could not
// be made into a thumbnail are noted under `fail/vantrel-<version>/`, so they are not
// tried again until they change. Thumbnails of other programs are used as they are, and
// ours serve them. No widget, no thread: each call reads or writes the disk at once.
class CThumbnailCache {
public:
    static constexpr int kNormalEdge = 128;
    static constexpr int kLargeEdge = 256;

    // The cache below `root` (normally DefaultRoot()) for thumbnails of `edge` pixels at
    // most: kLargeEdge gives the `large` folder, anything else `normal`.
    explicit CThumbnailCache(const QString& root = DefaultRoot(), int edge = kNormalEdge);

    // $XDG_CACHE_HOME/thumbnails, or ~/.cache/thumbnails when that is not set.
    static QString DefaultRoot();
    // The file URI of an absolute path, escaped byte by byte as the desktop escapes it.
    static QByteArray FileUri(const QByteArray& nativePath);
    // The thumbnail's file name for a URI: the MD5 in lower-case hex, then ".png".
    static QString FileName(const QByteArray& uri);

    int Edge() const { return m_nEdge; }
    QString ThumbnailPath(const QByteArray& nativePath) const;
    QString FailurePath(const QByteArray& nativePath) const;

    // The thumbnail of the picture with modification time `mtime` (whole seconds); null
    // when there is none, it is unreadable, or it is of another file or time.
    QImage Find(const QByteArray& nativePath, qint64 mtime) const;
    // True when making a thumbnail of the picture at this time failed before.
    bool HasFailed(const QByteArray& nativePath, qint64 mtime) const;
    // Writes the thumbnail (scaled down to the edge if larger); false when it could not.
    bool Store(const QByteArray& nativePath, qint64 mtime, const QImage& image) const;
    // Notes that the picture at this time cannot be made into a thumbnail.
    bool StoreFailure(const QByteArray& nativePath, qint64 mtime) const;

private:
    static QImage ReadValid(const QString& path, const QByteArray& uri, qint64 mtime);
    static bool WriteAtomically(const QString& folder, const QString& name,
                                const QByteArray& bytes);
    static QByteArray Encode(const QImage& image, const QByteArray& uri, qint64 mtime);

    QString m_strRoot;
    int m_nEdge;
};

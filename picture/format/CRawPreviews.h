#pragma once

#include <QByteArrayView>
#include <QList>
#include <QSize>

// The JPEG previews a camera RAW file of the TIFF kind stores of itself (DNG, NEF, CR2, ARW,
// PEF) and its small uncompressed RGB thumbnail, found through its image file directories,
// and what the directories say of the sensor's picture. Nothing here is trusted: every
// directory must lie in the head given, every preview and thumbnail inside the file, a
// preview at most kMaxPreviewBytes long; a directory is visited once.
class CRawPreviews {
public:
    // How much of the file's start is read for the directories.
    static constexpr qint64 kHeadBytes = 256 * 1024;
    // The longest preview taken (the largest cameras store about 10 MB).
    static constexpr qint64 kMaxPreviewBytes = 32LL * 1024 * 1024;

    // The widest thumbnail taken (converters write 256 pixels).
    static constexpr int kMaxThumbnailSide = 1024;

    struct SPreview {
        qint64 nOffset = 0;
        qint64 nLength = 0;
    };
    // Rows of 8-bit red, green and blue samples, one strip of `size` at `nOffset`.
    struct SThumbnail {
        qint64 nOffset = 0;
        QSize size;
    };

    // `head` is the start of a file of `fileSize` bytes.
    CRawPreviews(QByteArrayView head, qint64 fileSize);

    const QList<SPreview>& Previews() const { return m_previews; }
    // The largest uncompressed thumbnail; an empty size when there is none.
    const SThumbnail& Thumbnail() const { return m_thumbnail; }
    // The sensor's picture as stored (not turned); empty when no directory tells it.
    QSize Sensor() const { return m_sensor; }
    // The EXIF orientation, 1 to 8, the file gives the picture (1 when none).
    int Orientation() const { return m_nOrientation; }

private:
    void Visit(quint32 ifd);
    void TakePreview(quint32 ifd);
    void TakeThumbnail(quint32 ifd);
    void TakeSensor(quint32 ifd);
    void Add(qint64 offset, qint64 length);

    QByteArrayView m_head;
    qint64 m_nFileSize;
    QList<quint32> m_visited;
    QList<SPreview> m_previews;
    SThumbnail m_thumbnail;
    QSize m_sensor;
    int m_nOrientation = 1;
};

#pragma once

#include "picture/format/PictureInfo.h"

#include <QImage>
#include <QString>
#include <atomic>
#include <memory>

class CEpsFile;
class QFile;

// The decoding pipeline behind the imaging control: recognises a file's real type from
// its content, reads its header, and decodes it through the reader for that type.
//
// Open reads only the header, never the pixels, so it is fast enough for the GUI thread.
// Image then decodes, once, at the size asked for where the type allows (JPEG, PostScript,
// Qt's types), else the whole picture. PostScript, the legacy types and the types without a
// reader of Qt's (HEIC, AVIF, ...) are decoded in the sandboxed decoder helper process; Qt's
// own types and Microsoft Paint in this process. Where the header tells no size, Info()
// has none until the first decode: the pixels of a type decoded whole are the truth about
// its size (and, where the header gives none, its depth). One source serves one thread at a
// time; several sources may decode at once.
class CPictureSource {
public:
    // Who decodes the pixels.
    enum class EReader { Qt, PostScript, Paint, Helper };
    // What opening a file found out, enough to decode it later without opening it first:
    // its figures, its reader and its length in bytes; or why it cannot be shown.
    struct SHeader {
        SPictureInfo info;
        EReader reader = EReader::Qt;
        qint64 nFileSize = 0;
        int nDetected = 0; // the real type found, also of a file that cannot be shown
        QString strError;  // empty when the file can be shown
    };

    CPictureSource();
    ~CPictureSource();
    CPictureSource(const CPictureSource&) = delete;
    CPictureSource& operator=(const CPictureSource&) = delete;

    // False, with Error(), when the file cannot be shown; Info() is then all zero.
    bool Open(const QString& path);
    void Close();
    bool IsOpen() const { return m_info.nFormat != 0; }
    // What Open found (the figures completed by a decode since); the error after a failure.
    SHeader Header() const { return {m_info, m_eReader, m_nFileSize, m_nDetected, m_strError}; }
    // Takes what an Open of the file elsewhere (a worker thread) found, without touching the
    // disk; the pixels are read from the file when they are asked for. False, with Error(),
    // for a header that says the file cannot be shown.
    bool Adopt(const QString& path, const SHeader& header);

    const SPictureInfo& Info() const { return m_info; }
    // True while the picture is open but its size is still unknown (it comes with the pixels).
    bool SizePending() const { return IsOpen() && !m_info.HasSize(); }
    // True for the types decoded whole, at their own size, whatever size is asked for.
    bool DecodesWhole() const {
        return m_eReader == EReader::Helper || m_eReader == EReader::Paint;
    }
    // Takes the size and depth a decode elsewhere found for this file (a picture decoded on a
    // worker thread): the size where it is plausible, the depth where the header gave none.
    void TakeDecodedFigures(QSize own, int bitsPerPixel);
    QString Error() const { return m_strError; }

    // The picture for showing at `target` upright pixels: exactly that size when the type
    // can be decoded scaled and target is smaller than the picture, else the whole picture
    // (an empty target asks for the whole picture). A null image means decoding failed;
    // the source is then closed and Error() says why.
    QImage Image(QSize target);
    // The picture scaled smoothly to exactly `target` pixels (decoded as small as the type
    // allows first); above the pixel limit the decoded image is returned unscaled.
    QImage ImageAt(QSize target);
    // The size of the pixels held now (empty before the first decode).
    QSize DecodedSize() const { return m_image.size(); }

    // A flag another thread raises when the picture is no longer wanted: decoding then stops
    // at the next stage (or sooner: a file read fails, the decoder helper is stopped) and
    // fails with Error() saying so. Not owned; null (the default) means never cancelled.
    void SetCancelFlag(const std::atomic<bool>* flag) { m_pCancel = flag; }
    bool IsCancelled() const;

    // The file as Open opened it, for the rest of what is read of it (-1 when it was not
    // opened here): a picture is opened once. Read it with pread; it stays open until Close.
    int Descriptor() const;

    // The real type of a file from its content (0 when it is no picture of ours).
    static int DetectFileFormat(const QString& path);

private:
    bool Fail(const QString& message);
    bool FailCancelled();
    // The header is read from the file opened already: it is opened once.
    bool OpenWithQt(QFile& file);
    static bool IsCompleteJpeg(QFile& file);
    bool OpenBuffered(qint64 fileSize);
    bool LoadPostScript(qint64 fileSize);
    bool OpenForHelper();
    QByteArray ReadWhole(QString& error);
    bool CheckSize();
    bool CanServe(QSize target) const;
    QImage Decode(QSize target);
    QImage DecodeInHelper(QSize target);
    QImage DecodePaint();
    void KeepDecoded(const QImage& image);

    QString m_strPath;
    SPictureInfo m_info;
    QImage m_image;
    bool m_bWholeImage = false;
    EReader m_eReader = EReader::Qt;
    qint64 m_nFileSize = 0;
    int m_nDetected = 0;
    int m_nDecodedBits = 0;         // the depth the decoder helper found
    QSize m_decodedOwn;             // the picture's size where the helper's pixels stand in for it
    std::unique_ptr<QFile> m_pFile; // as Open opened it
    std::unique_ptr<CEpsFile> m_pEps;
    QString m_strError;
    const std::atomic<bool>* m_pCancel = nullptr;
};

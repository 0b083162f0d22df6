#pragma once

#include "picture/PictureInfo.h"

#include <QImage>
#include <QString>
#include <atomic>
#include <memory>

class CEpsFile;

// The decoding pipeline behind the imaging control: recognises a file's real type from
// its content, reads its header, and decodes it through the reader for that type.
//
// Open reads only what the header tells (so the size is known at once) for the types that
// can be decoded later at the size they are shown (JPEG, PostScript) and for the other
// types Qt reads; the legacy types and Microsoft Paint are decoded completely at Open.
// PostScript and the legacy types are decoded in the sandboxed decoder helper process; Qt's
// own types and Microsoft Paint in this process. One source serves one thread at a time;
// several sources may decode at once.
// Image then decodes, once, at the size asked for.
class CPictureSource {
public:
    CPictureSource();
    ~CPictureSource();
    CPictureSource(const CPictureSource&) = delete;
    CPictureSource& operator=(const CPictureSource&) = delete;

    // False, with Error(), when the file cannot be shown; Info() is then all zero.
    bool Open(const QString& path);
    void Close();
    bool IsOpen() const { return m_info.nFormat != 0; }

    const SPictureInfo& Info() const { return m_info; }
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

    // The real type of a file from its content (0 when it is no picture of ours).
    static int DetectFileFormat(const QString& path);

private:
    bool Fail(const QString& message);
    bool FailCancelled();
    bool OpenWithQt(const QString& path);
    static bool IsCompleteJpeg(const QString& path);
    bool OpenBuffered(const QString& path, qint64 fileSize);
    bool OpenInHelper(const QString& path);
    bool CheckSize();
    bool CanServe(QSize target) const;
    QImage Decode(QSize target);

    QString m_strPath;
    SPictureInfo m_info;
    QImage m_image;
    bool m_bWholeImage = false;
    std::unique_ptr<CEpsFile> m_pEps;
    QString m_strError;
    const std::atomic<bool>* m_pCancel = nullptr;
};

#include "picture/view/CShownFile.h"

#include <QFileInfo>

bool CShownFile::Open(const QString& path, const CPictureCache::SEntry* cached) {
    m_bPending = false;
    const bool opened = m_source.Open(path);
    m_nFileSize = m_source.Header().nFileSize;
    m_nFileFormat = short(m_source.Header().nDetected);
    if (!opened)
        return false;
    // A picture decoded whole before (or ahead) has told its true size already.
    if (cached && m_source.DecodesWhole())
        m_source.TakeDecodedFigures(cached->ownSize, cached->nBits);
    return true;
}

void CShownFile::Expect(const QString& path, const CPictureCache::SEntry* cached) {
    m_source.Close();
    m_nFileSize = 0;
    m_nFileFormat = 0;
    m_bPending = !cached;
    if (cached)
        Adopt(path, cached->header);
}

CShownFile::ETaken CShownFile::Take(const QString& path, const CPictureSource::SHeader& header) {
    if (!m_bPending && !m_source.IsOpen())
        return ETaken::Nothing; // it failed already
    if (!header.strError.isEmpty()) {
        m_bPending = false;
        m_source.Close();
        m_nFileSize = header.nFileSize;
        m_nFileFormat = short(header.nDetected);
        return ETaken::Failure;
    }
    // Read again, the file is the one shown unless its length or type changed.
    if (!m_bPending && header.nFileSize == m_nFileSize && header.nDetected == m_nFileFormat)
        return ETaken::Nothing;
    Adopt(path, header);
    return ETaken::Figures;
}

void CShownFile::Adopt(const QString& path, const CPictureSource::SHeader& header) {
    m_bPending = false;
    m_source.Adopt(path, header);
    m_nFileSize = header.nFileSize;
    m_nFileFormat = short(header.nDetected);
}

CShownFile::ETaken CShownFile::TakeDecoded(QSize own, int bitsPerPixel) {
    const SPictureInfo before = m_source.Info();
    m_source.TakeDecodedFigures(own, bitsPerPixel);
    const SPictureInfo& after = m_source.Info();
    if (after.nWidth != before.nWidth || after.nHeight != before.nHeight)
        return ETaken::Figures;
    return after.nBitsPerPixel != before.nBitsPerPixel ? ETaken::Depth : ETaken::Nothing;
}

bool CShownFile::Query(const QString& path) {
    const QFileInfo info(path);
    const bool file = info.isFile();
    m_nFileSize = file ? info.size() : 0;
    m_nFileFormat = file ? short(CPictureSource::DetectFileFormat(path)) : 0;
    return file;
}

void CShownFile::Close() {
    m_bPending = false;
    m_source.Close();
}

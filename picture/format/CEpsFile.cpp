#include "picture/format/CEpsFile.h"

#include "picture/format/ByteReader.h"

#include <QList>
#include <QRegularExpression>

namespace {
constexpr qsizetype kCommentWindow = 64 * 1024;
} // namespace

CEpsFile::CEpsFile(QByteArray data) : m_data(std::move(data)) {
    if (m_data.startsWith("\xC5\xD0\xD3\xC6")) {
        m_postScript = Section(4);
        m_metafile = Section(12);
        m_tiff = Section(20);
    } else if (m_data.startsWith("%!")) {
        m_postScript = m_data;
    }
    FindBoundingBox();
}

QByteArrayView CEpsFile::Section(qsizetype offsetAt) const {
    const qint64 offset = ReadLE32(m_data, offsetAt);
    const qint64 length = ReadLE32(m_data, offsetAt + 4);
    if (offset == 0 || length == 0 || offset + length > m_data.size())
        return {};
    return QByteArrayView(m_data).sliced(offset, length);
}

void CEpsFile::FindBoundingBox() {
    // The box is in the header comments, or in the trailer when the header says (atend).
    static const QRegularExpression re(QStringLiteral(
        R"(%%BoundingBox:[ \t]*(-?[\d.]+)[ \t]+(-?[\d.]+)[ \t]+(-?[\d.]+)[ \t]+(-?[\d.]+))"));
    const QByteArrayView ps = m_postScript;
    QList<QByteArrayView> windows{ps.first(std::min(ps.size(), kCommentWindow))};
    if (ps.size() > kCommentWindow)
        windows.append(ps.last(std::min(ps.size() - kCommentWindow, kCommentWindow)));
    for (const QByteArrayView window : windows) {
        const QRegularExpressionMatch m = re.match(QString::fromLatin1(window));
        if (!m.hasMatch())
            continue;
        const double llx = m.captured(1).toDouble();
        const double lly = m.captured(2).toDouble();
        const double urx = m.captured(3).toDouble();
        const double ury = m.captured(4).toDouble();
        if (urx > llx && ury > lly) {
            m_boundingBox = QRectF(llx, lly, urx - llx, ury - lly);
            return;
        }
    }
}

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QRectF>

// An Encapsulated PostScript file: plain text, or the binary form whose 30-byte header
// points to the PostScript and to an optional TIFF or metafile preview.
class CEpsFile {
public:
    explicit CEpsFile(QByteArray data);

    bool IsValid() const { return !m_postScript.isEmpty(); }
    QByteArrayView PostScript() const { return m_postScript; }
    QByteArrayView TiffPreview() const { return m_tiff; }
    QByteArrayView MetafilePreview() const { return m_metafile; }

    // The %%BoundingBox in points (x to the right, y up); empty when there is none.
    QRectF BoundingBox() const { return m_boundingBox; }

private:
    QByteArrayView Section(qsizetype offsetAt) const;
    void FindBoundingBox();

    QByteArray m_data;
    QByteArrayView m_postScript;
    QByteArrayView m_tiff;
    QByteArrayView m_metafile;
    QRectF m_boundingBox;
};

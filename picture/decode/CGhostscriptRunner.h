#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

// Runs Ghostscript inside the decoder helper: the PostScript goes in on its standard input,
// the picture comes back as a PPM stream on its standard output, and Ghostscript sees a
// minimal environment, its safe mode, and an address-space limit of its own. The helper's
// sandbox and its wall-clock stop lie around all of this.
class CGhostscriptRunner {
public:
    struct SJob {
        QString strProgram = QStringLiteral("gs");
        double dResolution = 72.0; // dots per inch
        qint64 nMemoryLimit = 0;   // bytes of address space; 0 leaves it unlimited
    };

    // The first page at the job's resolution, as RGB32; null, with `error`, on failure.
    static QImage Render(QByteArrayView postScript, const SJob& job, QString& error);

    // The length of a binary PPM header ("P6 w h 255" and one white space) at the start of
    // `data`: 0 while it is incomplete, -1 when it is no such header. Fills w and h.
    static qsizetype ParsePpmHeader(QByteArrayView data, int& width, int& height);
};

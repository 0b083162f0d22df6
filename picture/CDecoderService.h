#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

// The decoder helper's work: reads the file it was handed as a descriptor, decodes it with
// the reader for its type (Ghostscript for PostScript, ImageMagick's coders for the legacy
// types), puts the pixels into the shared memory it was handed, and answers on its
// standard output. It runs inside the sandbox; nothing here trusts the file.
class CDecoderService {
public:
    struct SRequest {
        int nFormat = 0;
        QSize target;            // for PostScript: the size it is drawn at (empty: 72 dpi)
        qint64 nMemoryLimit = 0; // handed on to Ghostscript
        QString strGhostscript = QStringLiteral("gs");
    };

    // Parses the helper's arguments: --format N [--size WxH] [--memory BYTES] [--gs PROGRAM].
    static bool ParseArguments(const QStringList& args, SRequest& request);
    // The whole helper: the exit code of the process.
    static int Run(const QStringList& args);

    // Decodes a whole file of the requested type; null, with `error`, when it cannot.
    static QImage Decode(const QByteArray& data, const SRequest& request, int& bits,
                         QString& error);

private:
    static QImage DecodePostScript(const QByteArray& data, const SRequest& request, QString& error);
    static bool ReadInput(QByteArray& data, QString& error);
    static bool WritePixels(const QImage& image);
};

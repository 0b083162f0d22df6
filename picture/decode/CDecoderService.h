#pragma once

#include "picture/decode/CRawReader.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

// The decoder helper's work: reads the file it was handed as a descriptor, decodes it with
// the reader for its type (Ghostscript for PostScript, ImageMagick's coders for the legacy
// types, libheif for HEIC and AVIF, LibRaw for camera RAW), puts the pixels into the shared memory
// it was handed, and answers on its standard output. It runs inside the sandbox; nothing here
// trusts the file.
class CDecoderService {
public:
    struct SRequest {
        int nFormat = 0;
        QSize target; // the size shown: PostScript is drawn at it (empty: 72 dpi), a camera
                      // RAW file's preview is taken when it is that large
        qint64 nMemoryLimit = 0; // handed on to Ghostscript
        QString strGhostscript = QStringLiteral("gs");
        bool bMetadata = false; // --task metadata: the file's metadata, not its pixels
        bool bPreview = false;  // --task preview: the small preview the file stores (HEIF)
        bool bDates = false;    // --task dates: the dates taken of several files
        QList<int> formats;     // --formats A,B,...: their types, one a file
    };

    // Parses the helper's arguments: --format N [--size WxH] [--memory BYTES] [--gs PROGRAM]
    // [--task metadata|preview], or --task dates --formats A,B,... for several files.
    static bool ParseArguments(const QStringList& args, SRequest& request);
    // The whole helper: the exit code of the process. With the one argument --wait it takes
    // its arguments and descriptors from the program first (helper_task).
    static int Run(const QStringList& args);
    // Shuts the helper in for `request` before anything is read; empty when it is, else why
    // it could not be (the helper then decodes nothing).
    static QString Confine(const SRequest& request);

    struct SDecoded {
        QImage image; // null, with strError, when the file cannot be decoded
        int nBits = 0;
        QSize ownSize; // the whole picture's size where the image stands in for it (RAW)
        QString strError;
    };

    // Decodes a whole file of the requested type.
    static SDecoded Decode(const QByteArray& data, const SRequest& request);

private:
    // Reads the file's metadata and answers with it (see MetadataProtocol).
    static int AnswerMetadata(int format);
    // Shuts the helper in and answers with the dates taken of the files it was handed.
    static int AnswerDates(const SRequest& request);
    static SDecoded DecodeMapped(const SRequest& request);
    static SDecoded FromRaw(CRawReader::SResult raw);
    static QImage DecodePostScript(const QByteArray& data, const SRequest& request, QString& error);
    static bool ReadInput(QByteArray& data, QString& error);
    static bool WritePixels(const QImage& image);
};

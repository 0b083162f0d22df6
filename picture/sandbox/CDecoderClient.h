#pragma once

#include "picture/format/PictureMetadata.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <atomic>

// Decodes a picture in the decoder helper process (vantrel-decoder, beside the program),
// started in the sandbox with an address-space limit, a processor-time limit and a
// wall-clock stop; one is kept started ahead, waiting for the next task (CWaitingHelper). Whatever
// the helper does (dies, is stopped, answers nonsense), the caller gets either pixels or a reason.
// Safe to use from several threads at once.
class CDecoderClient {
public:
    struct SResult {
        QImage image;
        int nBits = 0;
        QSize ownSize; // the whole picture's size where the image stands in for it (RAW)
        QString strError;
    };

    // Decodes the file open at `fd` (read from its start, at most the largest file shown) as
    // type `format`; the helper gets a sealed copy of all but the largest files, and
    // can reopen none for writing. `target` is the
    // size shown (PostScript is drawn at it; a camera RAW file's preview serves when it is
    // that large). A set `cancel` flag stops the helper at once.
    static SResult Decode(int fd, int format, QSize target,
                          const std::atomic<bool>* cancel = nullptr);
    // The small preview the file at `fd` stores of itself (a HEIF file's thumbnail item), read
    // by the helper as Decode reads the picture; an error when it has none.
    static SResult DecodePreview(int fd, int format, const std::atomic<bool>* cancel = nullptr);
    // The same for bytes in memory (a preview inside another file).
    static SResult DecodeBytes(const QByteArray& data, int format, QSize target,
                               const std::atomic<bool>* cancel = nullptr);

    struct SMetadata {
        PictureMetadata facts; // the camera's record, checked; empty when there is none
        QString strError;
    };
    // What the file open at `fd` (of type `format`) records about the picture, read by the
    // helper in its sandbox; the answer is checked as hostile (see MetadataProtocol).
    static SMetadata ReadMetadata(int fd, int format, const std::atomic<bool>* cancel = nullptr);

    // Runs the helper once on nothing, so that the first picture does not wait for its
    // program, libraries and sandbox to be read from disk; true when it answered.
    static bool Warm();
    // Ends the helper kept waiting for the next picture (at exit; the next request starts
    // one again).
    static void Shutdown();

    // The helper to run: VANTREL_DECODER when set, else vantrel-decoder in libexec/vantrel/
    // relative to the program when it is there (installed), else beside the program.
    static QString HelperPath();

    // Settings (tests, benchmarks). An empty program restores the default.
    static void SetHelper(const QString& program);
    static void SetGhostscript(const QString& program);
    static void SetTimeout(int milliseconds);
    static void SetMemoryLimit(qint64 bytes);
    // Seconds of processor time; 0 gives one second more than the wall-clock stop.
    static void SetCpuLimit(int seconds);

    struct SRun {
        QByteArray answer; // what the helper wrote, when it finished by itself
        QString strError;  // why it was not started or was stopped
        QString strDeath;  // what to say when the answer is unusable
    };
    // Runs the helper with `args` (after its settings' own) on the descriptors `files`,
    // which it finds open from decoder_protocol::kFirstFileFd on (at most kMaxFiles).
    static SRun RunOnFiles(const QList<int>& files, const QStringList& args,
                           const std::atomic<bool>* cancel);

private:
    // Runs the helper with `args` on the input `fd` and `files`; afterwards `pixelsFd`
    // stands for the memory the helper put its pixels in.
    static SRun RunHelper(int fd, int pixelsFd, const QStringList& args,
                          const std::atomic<bool>* cancel, const QList<int>& files = {});
    // Runs the helper with `args` on a sealed copy of `fd`, or on `fd` itself when it is a
    // read-only descriptor of a large file.
    static SResult HandFile(int fd, const QStringList& args, const std::atomic<bool>* cancel);
    // Runs the helper with `args` on `fd` as it is, for the pixels.
    static SResult Hand(int fd, const QStringList& args, const std::atomic<bool>* cancel);
};

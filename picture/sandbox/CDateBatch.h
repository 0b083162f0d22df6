#pragma once

#include <QDateTime>
#include <QList>
#include <atomic>

// The dates taken of many files read by the decoder helper in its sandbox, many files a run
// (at most decoder_protocol::kMaxFiles, and at most kMaxCopiedBytes of sealed copies), never
// a process for each. Each file reaches the helper as ReadMetadata hands one: a sealed copy,
// or for the largest a read-only descriptor. The answer is checked as hostile; a run whose
// answer is refused, or that dies or is stopped, is tried again in halves, so that one
// hostile file costs the others nothing. Blocks: call it off the interface thread.
class CDateBatch {
public:
    struct SFile {
        int fd = -1;    // open for reading; stays the caller's
        int format = 0; // the file's type (picfmt)
    };

    // The sealed copies one run may hold in memory at once.
    static constexpr qint64 kMaxCopiedBytes = 128LL * 1024 * 1024;

    // The dates of `files`, aligned with them; invalid where a file records none or cannot
    // be read. A set `cancel` flag stops it early (the rest invalid).
    static QList<QDateTime> Read(const QList<SFile>& files,
                                 const std::atomic<bool>* cancel = nullptr);
    // How many helper runs this process has made, and how many of their answers were
    // refused (tests, benchmarks, fuzzing).
    static int Runs();
    static int Refusals();

private:
    struct SPart {
        QList<SFile> files;
        QList<qint64> sizes; // bytes of each, -1 where it is not handed on
    };
    // Reads `part`'s dates into `dates` (aligned with it), in halves where a run fails.
    static void ReadPart(const SPart& part, QList<QDateTime>& dates,
                         const std::atomic<bool>* cancel);
    // One run of the helper on `part`; false when its answer is unusable.
    static bool RunOnce(const SPart& part, QList<QDateTime>& dates,
                        const std::atomic<bool>* cancel);
    static SPart Slice(const SPart& part, qsizetype from, qsizetype count);
};

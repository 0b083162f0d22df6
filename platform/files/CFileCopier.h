#pragma once

#include "platform/files/CDiskCalls.h"
#include "platform/files/CFileIdentity.h"

#include <QByteArray>
#include <cerrno>
#include <functional>
#include <sys/stat.h>
#include <vector>

// Copies one file into a folder so that the copy either appears complete under its name or
// not at all. Prepare() writes the data into an unnamed file of the destination folder (or,
// where the file system has none, a hidden temporary name), checks every write, keeps the
// permissions and times, flushes it to disk and compares the size with the source's.
// Commit() then gives it its name without replacing anything. Whatever has not been
// committed is removed when the copier is destroyed. A symbolic link is followed: the copy
// holds the data it points to. Errors are errno values.
class CFileCopier {
public:
    // Called after every chunk with the bytes written so far; returning false cancels.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    CFileCopier(QByteArray source, QByteArray destDir);
    // The source is `name` in the folder srcDirFd (not owned; it must stay open).
    CFileCopier(int srcDirFd, QByteArray name, QByteArray destDir);
    ~CFileCopier();
    CFileCopier(const CFileCopier&) = delete;
    CFileCopier& operator=(const CFileCopier&) = delete;

    // Writes through a hidden temporary name even where unnamed files are possible.
    void PreferNamedTemp(bool bNamed) { m_bPreferNamed = bNamed; }
    void SetChunkSize(qint64 bytes) { m_nChunk = bytes; }
    // Copies only the file `source` (links followed): another file found under the
    // source's name is not copied.
    void ExpectSource(const CFileIdentity& source) { m_expected = source; }
    // Writes, flushes, closes and names the copy through `calls` (not owned; it must outlive
    // the copier) instead of the system calls.
    void UseDiskCalls(CDiskCalls& calls) { m_pCalls = &calls; }

    // What Prepare returns for a source that is no ordinary file (a pipe, a device).
    static constexpr int kNotAFile = ENODEV;
    // ... and for a source that is not the file expected.
    static constexpr int kOtherFile = ESTALE;

    // The data part, fit for a worker thread: 0, ECANCELED when progress said stop,
    // kNotAFile, kOtherFile, or the errno of the failing step (EIO when the copy's size differs
    // from the source's). Holes in a sparse source stay holes in the copy.
    int Prepare(const Progress& progress = {});
    // Links the prepared copy into the folder as `name`: 0, EEXIST when the name is
    // taken, or another errno. On failure the prepared copy stays ready for another name.
    int Commit(const QByteArray& name);
    // Removes the prepared copy, if any.
    void Discard();

    qint64 SourceSize() const { return m_srcStat.st_size; }

private:
    int OpenTarget();
    int CopyData(const Progress& progress);
    int CopyRange(std::vector<char>& buffer, qint64 from, qint64 to, const Progress& progress);
    int Finish();
    int LinkUnnamed(const QByteArray& name);
    void CloseAll();
    CDiskCalls& Calls() { return m_pCalls ? *m_pCalls : m_systemCalls; }

    int m_srcDirFd;
    QByteArray m_source;
    QByteArray m_destDir;
    CFileIdentity m_expected; // unknown: any file
    struct stat m_srcStat {};
    int m_srcFd = -1;
    int m_dirFd = -1;
    int m_fd = -1;
    QByteArray m_tempName; // empty while writing to an unnamed file
    bool m_bPreferNamed = false;
    bool m_bPrepared = false;
    qint64 m_nChunk = 1 << 20;
    CDiskCalls m_systemCalls;
    CDiskCalls* m_pCalls = nullptr; // null: m_systemCalls
};

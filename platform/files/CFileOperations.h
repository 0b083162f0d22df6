#pragma once

#include "platform/files/CDiskCalls.h"
#include "platform/files/CFileOpResult.h"
#include "platform/files/CFolderEntry.h"

#include <QByteArray>
#include <QCoreApplication>
#include <optional>

class CFileOpUi;

// Moves, copies, deletes and renames files so that a picture is never lost and never
// silently overwritten. Paths are native byte strings. A name already taken at the
// destination is put to the user (replace, keep both, skip); replacing sends the file that
// was there to the trash. A same-device move is one rename that never replaces; otherwise
// the data is copied beside its new name, flushed and checked, linked into place without
// replacing, and only then is the source removed; when anything fails the partial copy is
// removed and the source is left as it was. Only ordinary files (or links to them) are
// moved or copied; a pipe, socket or device is refused at once, and so is a move or copy
// whose two names lead to the same file. Failures are told to the user through the
// interface, naming the file, the destination and the reason.
//
// The file to move, copy or delete may be given as an entry of a folder opened for the
// action (CFolderEntry): then every step reaches it through that folder's descriptor, and a
// file that is not the one shown to the user (or a folder that is not the one listed) is
// refused before anything is touched. A file that turns out, once renamed, not to be the
// one checked is put back. Given as a path, the file's folder is opened once in the same way.
class CFileOperations {
    Q_DECLARE_TR_FUNCTIONS(CFileOperations)

public:
    explicit CFileOperations(CFileOpUi& ui) : m_ui(ui) {}

    // The file keeps its name in destDir unless `name` gives another one.
    CFileOpResult Move(const QByteArray& file, const QByteArray& destDir,
                       const QByteArray& name = {});
    CFileOpResult Move(const CFolderEntry& file, const QByteArray& destDir,
                       const QByteArray& name = {});
    CFileOpResult Copy(const QByteArray& file, const QByteArray& destDir,
                       const QByteArray& name = {});
    CFileOpResult Copy(const CFolderEntry& file, const QByteArray& destDir,
                       const QByteArray& name = {});
    // To the trash when bToTrash, otherwise removed outright. A file that cannot be trashed
    // stays where it is; it is never removed outright instead. A folder can only be trashed.
    CFileOpResult Delete(const QByteArray& file, bool bToTrash);
    CFileOpResult Delete(const CFolderEntry& file, bool bToTrash);
    // A new name in the same folder, never taking one that is in use.
    CFileOpResult Rename(const QByteArray& file, const QByteArray& newName);

    // Copies write through a hidden temporary name rather than an unnamed file.
    void PreferNamedTemp(bool bNamed) { m_bPreferNamed = bNamed; }
    void SetChunkSize(qint64 bytes) { m_nChunk = bytes; }
    // Writes, flushes and names copies and removes moved files' sources through `calls` (not
    // owned; it must outlive the operations) instead of the system calls.
    void UseDiskCalls(CDiskCalls& calls) { m_pCalls = &calls; }

private:
    enum class Mode { Move, Copy };
    struct Plan;

    CFileOpResult Transfer(Mode mode, const CFolderEntry& file, const QByteArray& destDir,
                           const QByteArray& name);
    std::optional<CFileOpResult> Check(Mode mode, Plan& plan);
    std::optional<CFileOpResult> ResolveConflict(Mode mode, Plan& plan);
    std::optional<CFileOpResult> RenameIfFree(Plan& plan);
    std::optional<CFileOpResult> RenameInto(Plan& plan);
    CFileOpResult CopyInto(Mode mode, Plan& plan);
    std::optional<CFileOpResult> TrashExisting(Mode mode, Plan& plan);
    CFileOpResult Renamed(const Plan& plan, const QByteArray& target);
    CFileOpResult Verify(Mode mode, const Plan& plan, const QByteArray& target, qint64 copiedSize);

    CFileOpResult Fail(Mode mode, const Plan& plan, const QString& reason);
    CFileOpResult Fail(const QString& message);
    CDiskCalls& Calls() { return m_pCalls ? *m_pCalls : m_systemCalls; }

    CFileOpUi& m_ui;
    bool m_bPreferNamed = false;
    qint64 m_nChunk = 1 << 20;
    CDiskCalls m_systemCalls;
    CDiskCalls* m_pCalls = nullptr; // null: m_systemCalls
};

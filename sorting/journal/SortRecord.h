#pragma once

#include "platform/files/CFileActionHook.h"

#include <QByteArray>
#include <QList>
#include <optional>

// What identifies a file on disk: its device and inode, its size and its modification time,
// which a rename keeps. The time its inode last changed is recorded too, but is no part of
// the identity: a rename, a new hard link or a change of mode moves it, so a file that was
// moved back and forth, or given a second name, is still the same file.
struct FileStamp {
    qint64 size = -1;
    qint64 mtimeNs = 0;
    quint64 dev = 0;
    quint64 ino = 0;
    qint64 ctimeNs = 0;

    bool IsValid() const { return size >= 0; }
    // The stamp of the file at path (no link followed); invalid when nothing is there.
    static FileStamp Of(const QByteArray& path);
    // The same file: one inode, with the size and modification time it had.
    bool SameFile(const FileStamp& other) const;
    // The same content as far as the stamp tells: one inode, or a copy that kept size and time.
    bool SameData(const FileStamp& other) const;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// One file of a recorded action: where it was before the action and where it went.
struct SortEntry {
    QByteArray source;     // its place before the action
    FileStamp sourceStamp; // the file there, before the action (or after an undo)
    QByteArray target;     // its place after the action (in the trash for a trash action);
                           // empty when the action did not reach it
    FileStamp targetStamp; // the file there after the action
    QByteArray info;       // the trash entry's info file
    // The file that had the target's name before and was replaced: while the action is
    // done it is in the trash (replaced, replacedInfo); while undone, back at the target.
    QByteArray replaced;
    FileStamp replacedStamp;
    QByteArray replacedInfo;

    // The file at `path` as it is before an action.
    static SortEntry Before(const QByteArray& path);
};

// One action of the journal and how far it has come.
struct SortRecord {
    enum class State {
        Intent,     // announced; the file operation may or may not have run
        Done,       // the files are at their targets
        Failed,     // nothing changed
        Undone,     // the files are back at their sources
        UndoIntent, // an undo was announced
        RedoIntent, // a redo was announced
        Dropped,    // undone, and no longer to be redone: a new action came after it
        Skipped,    // done, and passed over by Undo at the user's word
        Damaged,    // a line of it was lost: where its files are is not known for sure
    };

    quint64 seq = 0;
    qint64 timeMs = 0; // when it was done, ms since the epoch
    CFileAction::Kind kind = CFileAction::Kind::Move;
    QByteArray dest; // destination folder, or the new name of a rename
    State state = State::Intent;
    QList<SortEntry> entries;
};

// The journal's lines: each record change is one line of tab-separated fields, paths
// percent-encoded, closed by a check sum of the line, so that a torn or damaged line is
// recognised as such.
namespace sort_lines {

// The code that opens a line (its first field, one letter on disk): what it says of the
// action it names.
enum class LineCode : char {
    Intent = 'A',     // a new action with its files as they are before it
    Done = 'D',       // done; the entries give where each file is now
    Failed = 'F',     // failed: nothing changed
    UndoIntent = 'u', // an undo is about to run
    Undone = 'U',     // undone; the entries give where each file is now
    RedoIntent = 'r', // a redo is about to run
    Redone = 'R',     // redone; the entries give where each file is now
    TakenBack = 'x',  // the announced undo or redo did not happen; with entries, the files
                      // were put back where the entries say
    Dropped = 'z',    // an undone action is no longer offered for redo
    Skipped = 'k',    // a done action is skipped by Undo
};

QByteArray Intent(const SortRecord& record);
// A change of the action `seq` (any code but Intent).
QByteArray Change(quint64 seq, LineCode what, const QList<SortEntry>& entries = {});

enum class Applied {
    Yes,
    Unreadable, // torn, damaged or malformed: nothing changed
    OutOfPlace, // sound, but it does not follow the lines before it: the action it names
                // (if any) is marked damaged, as a line of it must have been lost
};
// Applies one line to the records (appending for "A").
Applied Apply(QByteArrayView line, QList<SortRecord>& records);

} // namespace sort_lines

#pragma once

#include "platform/CFileActionHook.h"

#include <QByteArray>
#include <QList>
#include <optional>

// What identifies a file on disk: its size and modification time, its device and inode,
// and the time its inode last changed (which tells a file made anew under a reused inode).
struct FileStamp {
    qint64 size = -1;
    qint64 mtimeNs = 0;
    quint64 dev = 0;
    quint64 ino = 0;
    qint64 ctimeNs = 0;

    bool IsValid() const { return size >= 0; }
    // The stamp of the file at path (no link followed); invalid when nothing is there.
    static FileStamp Of(const QByteArray& path);
    // The same file: one inode, not changed since.
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

// "A": a new action with its files as they are before it.
QByteArray Intent(const SortRecord& record);
// "D", "U", "R": the action is done, undone or redone; the entries give where each file
// is now. "F": it failed, nothing changed. "u", "r": an undo or redo is about to run.
// "x": the announced undo or redo did not happen. "z": an undone action is no longer
// offered for redo.
QByteArray Change(quint64 seq, char what, const QList<SortEntry>& entries = {});

// Applies one line to the records (appending for "A"); false when the line is damaged or
// makes no sense after the lines before it.
bool Apply(QByteArrayView line, QList<SortRecord>& records);

} // namespace sort_lines

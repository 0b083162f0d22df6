#pragma once

#include <QByteArray>
#include <QString>

// How a file operation ended. Done is decided by looking at the disk afterwards: the file
// is gone from its old place (move, delete, rename) or present in its new place with the
// source's size (copy).
struct CFileOpResult {
    enum class Outcome {
        Done,      // the file is where it was sent
        Skipped,   // the user chose Skip for a name already taken: nothing changed
        Cancelled, // the user cancelled the copy: nothing changed
        Failed,    // nothing changed; `error` was shown to the user
    };

    Outcome outcome = Outcome::Failed;
    QByteArray target; // where the file now is (for a delete to the trash: in the trash)
    QByteArray info;   // for a delete to the trash: the entry's .trashinfo file
    // For a move or copy that replaced a file of the same name: that file in the trash,
    // and its .trashinfo file.
    QByteArray replaced;
    QByteArray replacedInfo;
    QString error; // the message shown when it failed

    bool Succeeded() const { return outcome == Outcome::Done; }
};

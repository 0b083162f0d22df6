#pragma once

#include "platform/files/CFileOpResult.h"

#include <QByteArray>
#include <QList>
#include <functional>

// One user action on files: a sort (move, copy, delete) or a context-menu command (rename,
// move to the trash). It may take several files, which are done and undone together.
struct CFileAction {
    enum class Kind { Move, Copy, Trash, Delete, Rename };

    Kind kind = Kind::Move;
    QList<QByteArray> files; // the files as they are before the action
    QByteArray dest;         // the destination folder (move, copy) or the new name (rename)
};

// Whoever records the actions (the undo journal) wraps each of them: it is told before the
// first file is touched and after the last. Whoever carries out actions is handed its
// recorder by its owner; without one the action simply runs.
class CFileActionHook {
public:
    using Operation = std::function<CFileOpResult(const QByteArray& file)>;

    virtual ~CFileActionHook() = default;
    // Runs `op` on every file of the action in order and returns the results in that order.
    virtual QList<CFileOpResult> Run(const CFileAction& action, const Operation& op) = 0;

    // Runs the action through `recorder` when there is one (null: nothing is recorded).
    static QList<CFileOpResult> Perform(CFileActionHook* recorder, const CFileAction& action,
                                        const Operation& op);
    // The same for a single file; the result of that file.
    static CFileOpResult PerformOne(CFileActionHook* recorder, CFileAction::Kind kind,
                                    const QByteArray& file, const QByteArray& dest,
                                    const Operation& op);
};

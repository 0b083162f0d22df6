#include "platform/files/CFileActionHook.h"

QList<CFileOpResult> CFileActionHook::Perform(CFileActionHook* recorder, const CFileAction& action,
                                              const Operation& op) {
    if (recorder)
        return recorder->Run(action, op);
    QList<CFileOpResult> results;
    for (const QByteArray& file : action.files)
        results.append(op(file));
    return results;
}

CFileOpResult CFileActionHook::PerformOne(CFileActionHook* recorder, CFileAction::Kind kind,
                                          const QByteArray& file, const QByteArray& dest,
                                          const Operation& op) {
    const QList<CFileOpResult> results = Perform(recorder, {kind, {file}, dest}, op);
    return results.isEmpty() ? CFileOpResult() : results.first();
}

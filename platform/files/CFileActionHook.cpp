#include "platform/files/CFileActionHook.h"

namespace {
CFileActionHook* s_pHook = nullptr;
}

void CFileActionHook::Install(CFileActionHook* hook) {
    s_pHook = hook;
}

CFileActionHook* CFileActionHook::Installed() {
    return s_pHook;
}

QList<CFileOpResult> CFileActionHook::Perform(const CFileAction& action, const Operation& op) {
    if (s_pHook)
        return s_pHook->Run(action, op);
    QList<CFileOpResult> results;
    for (const QByteArray& file : action.files)
        results.append(op(file));
    return results;
}

CFileOpResult CFileActionHook::PerformOne(CFileAction::Kind kind, const QByteArray& file,
                                          const QByteArray& dest, const Operation& op) {
    const QList<CFileOpResult> results = Perform({kind, {file}, dest}, op);
    return results.isEmpty() ? CFileOpResult() : results.first();
}

#pragma once

#include "platform/shell/ListedEntry.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <functional>

class CFolderLister;

// Asks a worker (CFolderLister) whether one name is there in a folder, hidden names
// included, and hands the answer to a function on this thread: the window never waits for
// the disk to learn whether a path names a folder, a file or nothing. One question at a
// time: a new one, or Cancel, drops the answer of the one before.
class CNameLookup : public QObject {
    Q_OBJECT
public:
    // found: whether the name is there; flags: its CShellItemId flags (folder, link).
    using Answer = std::function<void(bool bFound, unsigned char flags)>;

    explicit CNameLookup(CFolderLister& lister, QObject* parent = nullptr);

    void Ask(const QByteArray& dir, const QByteArray& name, Answer answer);
    void Cancel();
    // True while an answer is awaited.
    bool IsAsking() const { return m_nTicket != 0; }

private:
    void OnLooked(quint64 ticket, const ListedEntries& found);

    QPointer<CFolderLister> m_pLister;
    quint64 m_nTicket = 0;
    QByteArray m_name;
    Answer m_answer;
};

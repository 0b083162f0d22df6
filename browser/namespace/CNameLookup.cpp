#include "browser/namespace/CNameLookup.h"

#include "platform/shell/CFolderLister.h"

CNameLookup::CNameLookup(CFolderLister& lister, QObject* parent)
    : QObject(parent), m_pLister(&lister) {
    connect(&lister, &CFolderLister::Looked, this, &CNameLookup::OnLooked);
}

void CNameLookup::Ask(const QByteArray& dir, const QByteArray& name, Answer answer) {
    Cancel();
    if (!m_pLister)
        return;
    m_name = name;
    m_answer = std::move(answer);
    m_nTicket = m_pLister->Look(dir, {name}, true);
}

void CNameLookup::Cancel() {
    m_nTicket = 0;
    m_answer = nullptr;
}

void CNameLookup::OnLooked(quint64 ticket, const ListedEntries& found) {
    if (ticket != m_nTicket)
        return; // another caller's, or a question given up
    m_nTicket = 0;
    const Answer answer = std::exchange(m_answer, nullptr);
    for (const SListedEntry& e : found)
        if (e.name == m_name) {
            answer(true, e.flags);
            return;
        }
    answer(false, 0);
}

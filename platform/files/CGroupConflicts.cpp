#include "platform/files/CGroupConflicts.h"

CGroupConflicts::CGroupConflicts(CFileOpUi& inner) : m_inner(inner) {
    m_inner.OfferApplyToAll(true);
}

CGroupConflicts::~CGroupConflicts() {
    m_inner.OfferApplyToAll(false);
}

CFileOpUi::ConflictChoice CGroupConflicts::AskConflict(const CFileFacts& incoming,
                                                       const CFileFacts& existing) {
    if (m_forAll)
        return *m_forAll;
    const ConflictChoice choice = m_inner.AskConflict(incoming, existing);
    if (m_inner.AppliedToAll())
        m_forAll = choice;
    return choice;
}

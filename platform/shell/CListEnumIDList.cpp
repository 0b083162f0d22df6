#include "platform/shell/CListEnumIDList.h"

CListEnumIDList::~CListEnumIDList() {
    for (std::size_t i = m_nNext; i < m_items.size(); ++i)
        CItemIdList::FreePidl(m_items[i]);
}

void CListEnumIDList::Add(LPITEMIDLIST pidl) {
    if (pidl)
        m_items.push_back(pidl);
}

bool CListEnumIDList::Next(LPITEMIDLIST* ppidl) {
    if (m_nNext >= m_items.size())
        return false;
    *ppidl = m_items[m_nNext++];
    return true;
}

#pragma once

#include "platform/shell/CEnumIDList.h"

#include <vector>

// Enumerates a fixed set of children prepared in advance (the desktop, Computer).
class CListEnumIDList : public CEnumIDList {
public:
    ~CListEnumIDList() override;
    // Takes ownership of pidl; a null pidl is ignored.
    void Add(LPITEMIDLIST pidl);
    bool Next(LPITEMIDLIST* ppidl) override;

private:
    std::vector<LPITEMIDLIST> m_items;
    std::size_t m_nNext = 0;
};

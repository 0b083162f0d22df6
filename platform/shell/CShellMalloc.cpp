#include "platform/shell/CShellMalloc.h"

#include <cstdlib>

CShellMalloc& CShellMalloc::Get() {
    static CShellMalloc s_malloc;
    return s_malloc;
}

void* CShellMalloc::Alloc(std::size_t cb) {
    if (m_nFailAfter > 0 && --m_nFailAfter == 0)
        return nullptr;
    void* pv = std::malloc(cb ? cb : 1);
    if (pv)
        ++m_nOutstanding;
    return pv;
}

void CShellMalloc::Free(void* pv) {
    if (!pv)
        return;
    --m_nOutstanding;
    std::free(pv);
}

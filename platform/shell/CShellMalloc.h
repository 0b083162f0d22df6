#pragma once

#include <cstddef>

// The one allocator of the namespace layer. Every item identifier list that the layer
// hands out, and every per-item record of the tree and the list, is allocated and freed
// here; whoever receives a new list frees it with Free. It counts the blocks it has
// handed out, so that tests can see that nothing leaks.
class CShellMalloc {
public:
    static CShellMalloc& Get();

    void* Alloc(std::size_t cb); // null when the memory cannot be had
    void Free(void* pv);         // a null pointer is ignored

    long Outstanding() const { return m_nOutstanding; }

    // Makes the next `n`-th allocation fail (1 = the very next one); 0 switches it off.
    // Used by tests of the out-of-memory paths.
    void FailAfter(long n) { m_nFailAfter = n; }

private:
    CShellMalloc() = default;
    long m_nOutstanding = 0;
    long m_nFailAfter = 0;
};

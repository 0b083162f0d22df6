#pragma once

#include "platform/shell/CShellFolder.h"

// Holds one reference to a folder for the length of a scope.
class CShellFolderRef {
public:
    explicit CShellFolderRef(CShellFolder* psf = nullptr) : m_psf(psf) {}
    ~CShellFolderRef() {
        if (m_psf)
            m_psf->Release();
    }
    CShellFolderRef(const CShellFolderRef&) = delete;
    CShellFolderRef& operator=(const CShellFolderRef&) = delete;
    CShellFolder* get() const { return m_psf; }
    CShellFolder* operator->() const { return m_psf; }
    explicit operator bool() const { return m_psf != nullptr; }

private:
    CShellFolder* m_psf;
};

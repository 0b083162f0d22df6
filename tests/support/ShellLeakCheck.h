#pragma once

#include "platform/shell/CShellFolder.h"
#include "platform/shell/CShellMalloc.h"

#include <QTest>

// The identifier lists and folder objects alive when it was made; Verify() fails the test
// when any were not given back since.
struct ShellLeakCheck {
    long lists = CShellMalloc::Get().Outstanding();
    long folders = CShellFolder::LiveFolders();

    void Verify() const {
        QCOMPARE(CShellMalloc::Get().Outstanding(), lists);
        QCOMPARE(CShellFolder::LiveFolders(), folders);
    }
};

#pragma once

#include <QList>
#include <sys/types.h>

// A started process and every process below it. Bubblewrap runs the helper two processes
// down, the lower one in a process namespace and a session of its own: killing the process
// started, or its process group, leaves that one behind, for ever when it was still waiting
// to be let on with setting up the sandbox.
class CProcessTree {
public:
    // The processes below `pid` as /proc lists them, parents before their children; empty
    // when /proc tells nothing.
    static QList<pid_t> Descendants(pid_t pid);
    // Ends `pid`, a child of the caller, with all below it: it is stopped first so that it
    // starts nothing more, the processes below it are killed and awaited (at most
    // `timeoutMs`), then it and its process group are killed. The caller reaps it.
    static void Kill(pid_t pid, int timeoutMs);

private:
    static QList<pid_t> ChildrenOf(pid_t pid);
    static bool HoldStill(pid_t pid, int timeoutMs);
    static void KillAndAwait(const QList<pid_t>& pids, int timeoutMs);
};

#pragma once

#include <QString>
#include <QStringList>

// Shuts the decoder helper in before it reads a byte of the picture, with layers that need
// no namespaces, so they hold where bubblewrap cannot run as well as inside it:
// - a seccomp filter that allows only what decoding needs: reading, writing the
//   descriptors it holds, memory, threads, time and exit; nothing can be renamed, linked,
//   have its mode or owner changed, or be sent over a network, and without Landlock files
//   may be opened for reading only;
// - where the kernel has Landlock, a ruleset under which the process may read only the
//   system's programs and libraries (and write only in its private temporary folder), may
//   not connect anywhere and may not signal anything outside itself.
// Once applied, it cannot be undone by the process or anything it starts.
class CHelperConfinement {
public:
    struct SOptions {
        // The private temporary folder, the one place the helper may write; empty: none.
        QString strTemp;
        // Whether the helper may start programs (Ghostscript for PostScript).
        bool bRunsPrograms = false;
    };

    struct SResult {
        bool bConfined = false; // the seccomp filter is in place
        int nLandlockAbi = 0;   // the Landlock version enforced; 0: none
        QString strError;       // why the helper could not be confined
    };

    // Applies both layers to the calling process. Fails (bConfined false) when the seccomp
    // filter cannot be installed; a kernel without Landlock leaves that layer out.
    static SResult Apply(const SOptions& options);

    // The folders the helper may read below: the system's programs, libraries, fonts and the
    // decoders' settings.
    static QStringList ReadableFolders();

private:
    static bool RestrictPaths(const SOptions& options, int& abi, QString& error);
    static bool InstallFilter(const SOptions& options, bool writableTemp, QString& error);
};

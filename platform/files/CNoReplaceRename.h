#pragma once

#include <QByteArray>

// Renames a file within one file system without ever replacing what is already at the new
// name. Every function returns 0 on success or the errno of the failure: EEXIST when the
// new name is taken, EXDEV when the two names lie on different file systems.
class CNoReplaceRename {
public:
    enum class Method {
        Auto,            // the first of the methods below that the file system supports
        RenameNoReplace, // renameat2 with RENAME_NOREPLACE: atomic
        LinkThenUnlink,  // a hard link under the new name, then the old name removed
        ReservedName,    // the new name claimed with O_EXCL, then renamed over the claim
    };

    static int Rename(const QByteArray& from, const QByteArray& to, Method method = Method::Auto);
    // The same relative to directory descriptors (AT_FDCWD for the current directory).
    static int RenameAt(int fromDir, const char* from, int toDir, const char* to,
                        Method method = Method::Auto);

private:
    static int RenameNoReplace(int fromDir, const char* from, int toDir, const char* to);
    static int LinkThenUnlink(int fromDir, const char* from, int toDir, const char* to);
    static int ReservedName(int fromDir, const char* from, int toDir, const char* to);
};

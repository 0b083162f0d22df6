#pragma once

#include <QByteArray>

class CFolderHandle;

// Sends files and folders to the freedesktop.org trash: the file is renamed (never copied)
// into the files/ folder of the trash of its device, beside an info file that records where
// it came from and when. A file that cannot be trashed stays exactly where it is.
class CTrash {
public:
    struct Result {
        int error = 0;   // errno of the failure, 0 when the file is in the trash
        QByteArray file; // its place in the trash
        QByteArray info; // its .trashinfo file
    };

    static Result Put(const QByteArray& path);
    // The same for the entry `name` of an open folder, reached through its descriptor only.
    static Result PutAt(const CFolderHandle& folder, const QByteArray& name);
    // Puts a trashed file back at `original` without replacing anything there, then removes
    // its info file. Returns 0, or the errno of the failure (EEXIST: the name is taken),
    // in which case the entry stays in the trash as it was.
    static int Restore(const QByteArray& file, const QByteArray& info, const QByteArray& original);
    // The name of the n-th entry for a file called `name` in a trash (0: the first try).
    static QByteArray EntryName(const QByteArray& name, int n);
    // Removes the info file of an entry whose file has left the trash by other means.
    static void DropInfo(const QByteArray& file, const QByteArray& info);

private:
    static QByteArray InfoText(const QByteArray& pathForInfo);
    static int WriteInfo(const QByteArray& infoFile, const QByteArray& text);
};

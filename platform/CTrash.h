#pragma once

#include <QByteArray>

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

private:
    static QByteArray InfoText(const QByteArray& pathForInfo);
    static int WriteInfo(const QByteArray& infoFile, const QByteArray& text);
};

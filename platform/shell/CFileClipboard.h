#pragma once

#include <QByteArray>
#include <QList>

class QMimeData;

// Puts files on the clipboard the way file managers expect them: as a list of file URLs
// (text/uri-list), as the "copy" request that desktop file managers read when pasting, and
// as plain text. URLs carry the names' bytes unchanged.
class CFileClipboard {
public:
    static QMimeData* MimeDataFor(const QList<QByteArray>& paths);
    static void Copy(const QList<QByteArray>& paths);
};

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUrl>

// File names are bytes on Linux: a name need not be valid UTF-8 and may hold any byte but
// '/' and NUL. The namespace keeps names as bytes and only converts them for showing.
class CNativePath {
public:
    // A readable form: UTF-8 decoded, every invalid byte shown as U+FFFD and control
    // characters (a newline in a name, say) as their visible control pictures.
    static QString Display(QByteArrayView bytes);
    // The bytes of a path given as text (only exact for names that are valid UTF-8).
    static QByteArray FromDisplay(const QString& path) { return path.toUtf8(); }
    // A file URL that carries the path's bytes unchanged (percent-encoded).
    static QUrl ToUrl(QByteArrayView path);
    static QByteArray ToEncodedUrl(QByteArrayView path);
    // dir + '/' + name, without doubling the separator after the root.
    static QByteArray Join(QByteArrayView dir, QByteArrayView name);
    // The part after the last '/', and the part before it ("/" for a file in the root).
    static QByteArray FileName(QByteArrayView path);
    static QByteArray DirName(QByteArrayView path);
};

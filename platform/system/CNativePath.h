#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QUrl>

// File names as the file system keeps them: byte strings, so that names which are not
// valid UTF-8 (and may hold any byte but '/' and NUL) survive every operation unchanged.
// Only Display() turns them into text.
class CNativePath {
public:
    // A readable form: UTF-8 decoded, every invalid byte shown as U+FFFD and control
    // characters (a newline in a name, say) as their visible control pictures.
    static QString Display(QByteArrayView bytes);
    // The native form of a path held as text (exact only for names that are valid UTF-8).
    static QByteArray FromText(const QString& path);
    // A file URL that carries the path's bytes unchanged (percent-encoded).
    static QUrl ToUrl(QByteArrayView path);
    static QByteArray ToEncodedUrl(QByteArrayView path);
    // dir + '/' + name, without doubling the separator of "/" or "dir/".
    static QByteArray Join(QByteArrayView dir, QByteArrayView name);
    // The part after the last '/' ("pic.jpg" for "/a/pic.jpg").
    static QByteArray FileName(QByteArrayView path);
    // The part before the last '/': "/" for a file in the root, "." for a bare name.
    static QByteArray DirName(QByteArrayView path);
    // "name (n).ext": the number goes before the extension; a leading dot is no extension.
    static QByteArray NumberedName(QByteArrayView name, int n);
    // NumberedName (the name itself for n == 0) within maxBytes: where it is longer, the stem
    // is cut at a character boundary and the number and the extension are kept.
    static QByteArray FittedName(QByteArrayView name, int n, qsizetype maxBytes);
};

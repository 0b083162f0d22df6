#pragma once

#include <QByteArray>
#include <QString>

// File names as the file system keeps them: byte strings, so that names which are not
// valid UTF-8 survive every operation unchanged. Only Display() turns them into text.
class CNativePath {
public:
    // The part after the last slash ("pic.jpg" for "/a/pic.jpg").
    static QByteArray FileName(const QByteArray& path);
    // The part before the last slash: "/" for a file in the root, "." for a bare name.
    static QByteArray DirName(const QByteArray& path);
    // dir + "/" + name, without doubling the slash of "/" or "D/".
    static QByteArray Join(const QByteArray& dir, const QByteArray& name);
    // "name (n).ext": the number goes before the extension; a leading dot is no extension.
    static QByteArray NumberedName(const QByteArray& name, int n);
    // The path as text for messages; undecodable bytes become replacement characters.
    static QString Display(const QByteArray& path);
    // The native form of a path held as text.
    static QByteArray FromText(const QString& path);
};

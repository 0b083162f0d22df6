#include "platform/CNativePath.h"

#include <QFile>

QByteArray CNativePath::FileName(const QByteArray& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray CNativePath::DirName(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

QByteArray CNativePath::Join(const QByteArray& dir, const QByteArray& name) {
    if (dir.endsWith('/'))
        return dir + name;
    return dir + '/' + name;
}

QByteArray CNativePath::NumberedName(const QByteArray& name, int n) {
    const QByteArray number = " (" + QByteArray::number(n) + ')';
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0)
        return name + number;
    return name.left(dot) + number + name.mid(dot);
}

QString CNativePath::Display(const QByteArray& path) {
    return QFile::decodeName(path);
}

QByteArray CNativePath::FromText(const QString& path) {
    return QFile::encodeName(path);
}

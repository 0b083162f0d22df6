#include "platform/system/CNativePath.h"

#include <QFile>
#include <algorithm>

namespace {
bool IsPlainAscii(QByteArrayView bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
            return false;
    return true;
}
} // namespace

QString CNativePath::Display(QByteArrayView bytes) {
    if (IsPlainAscii(bytes))
        return QString::fromLatin1(bytes);
    QString text = QString::fromUtf8(bytes);
    for (QChar& ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x20)
            ch = QChar(char16_t(0x2400 + u));
        else if (u == 0x7F)
            ch = QChar(char16_t(0x2421));
    }
    return text;
}

QByteArray CNativePath::FromText(const QString& path) {
    return QFile::encodeName(path);
}

QByteArray CNativePath::ToEncodedUrl(QByteArrayView path) {
    return "file://" + QByteArray(path.data(), path.size()).toPercentEncoding("/");
}

QUrl CNativePath::ToUrl(QByteArrayView path) {
    return QUrl::fromEncoded(ToEncodedUrl(path), QUrl::StrictMode);
}

QByteArray CNativePath::Join(QByteArrayView dir, QByteArrayView name) {
    QByteArray path;
    path.reserve(dir.size() + name.size() + 1);
    path.append(dir);
    if (!path.endsWith('/'))
        path.append('/');
    path.append(name);
    return path;
}

QByteArray CNativePath::FileName(QByteArrayView path) {
    return path.sliced(path.lastIndexOf('/') + 1).toByteArray();
}

QByteArray CNativePath::DirName(QByteArrayView path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.first(slash).toByteArray();
}

QByteArray CNativePath::NumberedName(QByteArrayView name, int n) {
    const QByteArray number = " (" + QByteArray::number(n) + ')';
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0)
        return name.toByteArray() + number;
    return name.first(dot).toByteArray() + number + name.sliced(dot).toByteArray();
}

QByteArray CNativePath::FittedName(QByteArrayView name, int n, qsizetype maxBytes) {
    const QByteArray number = n == 0 ? QByteArray() : " (" + QByteArray::number(n) + ')';
    qsizetype dot = name.lastIndexOf('.');
    // No extension, or one so long that keeping it would leave little of the name.
    if (dot <= 0 || name.size() - dot > maxBytes / 2)
        dot = name.size();
    QByteArrayView stem = name.first(dot);
    const QByteArrayView extension = name.sliced(dot);
    const qsizetype room = maxBytes - number.size() - extension.size();
    if (stem.size() > room) {
        qsizetype cut = std::max<qsizetype>(room, 0);
        while (cut > 0 && (static_cast<uchar>(stem[cut]) & 0xC0) == 0x80)
            --cut; // never inside a UTF-8 sequence
        stem = stem.first(cut);
    }
    return stem.toByteArray() + number + extension.toByteArray();
}

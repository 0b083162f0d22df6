#include "platform/shell/CFileClipboard.h"

#include "platform/system/CNativePath.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

QMimeData* CFileClipboard::MimeDataFor(const QList<QByteArray>& paths) {
    QByteArray uriList, copyRequest("copy");
    QStringList text;
    for (const QByteArray& path : paths) {
        const QByteArray url = CNativePath::ToEncodedUrl(path);
        uriList += url + "\r\n";
        copyRequest += '\n' + url;
        text.append(CNativePath::Display(path));
    }
    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/uri-list"), uriList);
    data->setData(QStringLiteral("x-special/gnome-copied-files"), copyRequest);
    data->setText(text.join(QLatin1Char('\n')));
    return data;
}

void CFileClipboard::Copy(const QList<QByteArray>& paths) {
    QGuiApplication::clipboard()->setMimeData(MimeDataFor(paths));
}

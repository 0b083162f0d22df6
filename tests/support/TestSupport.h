#pragma once

#include "platform/CProfileStore.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>

// A settings store in a temporary file, so tests never touch the user's own settings.
class TempProfile {
public:
    TempProfile() : m_store(std::make_unique<CProfileStore>(Path())) {}
    CProfileStore& Store() { return *m_store; }
    QString Path() const { return m_dir.filePath(QStringLiteral("Vantrel.conf")); }
    // Reopens the store from disk, as the next run of the program would.
    void Reopen() {
        m_store->Flush();
        m_store = std::make_unique<CProfileStore>(Path());
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CProfileStore> m_store;
};

// Writes a file of `size` bytes (a repeating pattern) and returns its path, or an empty
// string when it could not be written.
inline QString WriteFile(const QString& path, qint64 size) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return QString();
    QByteArray chunk(4096, '\0');
    for (int i = 0; i < chunk.size(); ++i)
        chunk[i] = static_cast<char>(i * 7);
    for (qint64 left = size; left > 0; left -= chunk.size())
        if (f.write(chunk.constData(), std::min<qint64>(left, chunk.size())) < 0)
            return QString();
    return path;
}

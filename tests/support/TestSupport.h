#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <memory>

class CProfileStore;

// A settings store in a temporary file, so tests never touch the user's own settings.
class TempProfile {
public:
    TempProfile();
    ~TempProfile();
    CProfileStore& Store() { return *m_store; }
    QString Path() const;
    // Reopens the store from disk, as the next run of the program would.
    void Reopen();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<CProfileStore> m_store;
};

// Writes a file of `size` bytes (a repeating pattern) and returns its path.
QString WriteFile(const QString& path, qint64 size);

// Byte-string paths, for names that are not valid UTF-8.
// Writes `data` to path (created or truncated); false when that failed.
bool WriteBytes(const QByteArray& path, const QByteArray& data);
// The whole file, or a null QByteArray when it cannot be read.
QByteArray ReadBytes(const QByteArray& path);
// Every entry of a folder, hidden ones too, sorted; empty when it cannot be read.
QList<QByteArray> ListDir(const QByteArray& dir);
// A picture-like pattern of `size` bytes that differs with `seed`.
QByteArray Pattern(qint64 size, int seed = 1);
// Removes a folder and everything in it, whatever bytes the names are made of, without
// crossing into other file systems; QDir cannot remove names that are not valid UTF-8.
bool RemoveTree(const QByteArray& dir);

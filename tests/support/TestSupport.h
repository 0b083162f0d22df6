#pragma once

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

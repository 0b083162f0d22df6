#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdlib>
#include <filesystem>
#include <system_error>

// A temporary folder that is removed with everything in it, whatever bytes the names hold
// (Qt's own removal cannot name files whose names are not valid UTF-8) and without
// following symbolic links out of it.
class NativeTempDir {
public:
    NativeTempDir() {
        QByteArray pattern = QFile::encodeName(QDir::tempPath()) + "/vantrel-test-XXXXXX";
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~NativeTempDir() {
        std::error_code ec;
        if (!m_path.isEmpty())
            std::filesystem::remove_all(std::filesystem::path(m_path.toStdString()), ec);
    }
    NativeTempDir(const NativeTempDir&) = delete;
    NativeTempDir& operator=(const NativeTempDir&) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    const QByteArray& NativePath() const { return m_path; }
    QString path() const { return QFile::decodeName(m_path); }

private:
    QByteArray m_path;
};

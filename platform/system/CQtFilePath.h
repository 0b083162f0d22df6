#pragma once

#include <QByteArray>
#include <QString>

// A path Qt can open for any native file name. Names that are valid UTF-8 are passed on
// as they are; for others the file is opened by its bytes and Qt is given the path of that
// open descriptor, which stays valid while this object lives.
class CQtFilePath {
public:
    explicit CQtFilePath(const QByteArray& nativePath);
    ~CQtFilePath();
    CQtFilePath(const CQtFilePath&) = delete;
    CQtFilePath& operator=(const CQtFilePath&) = delete;

    QString Path() const { return m_strPath; }

private:
    QString m_strPath;
    int m_fd = -1;
};

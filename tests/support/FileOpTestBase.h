#pragma once

#include "platform/files/CFileOperations.h"
#include "tests/support/NativeTempDir.h"
#include "tests/support/ScriptedFileOpUi.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QObject>
#include <memory>
#include <sys/stat.h>

// Base of the file-operation tests: Reset() makes a fresh scratch folder with the pictures'
// folder src/, a destination dst/, the home trash below data/ (XDG_DATA_HOME) and HOME at
// home/ (not created), and file operations whose questions the test answers through `ui`.
class FileOpTestBase : public QObject {
protected:
    void Reset() {
        QDir::setCurrent(QDir::tempPath());
        m_tmp = std::make_unique<NativeTempDir>();
        root = m_tmp->NativePath();
        src = root + "/src";
        dst = root + "/dst";
        trash = root + "/data/Trash";
        ::mkdir(src.constData(), 0755);
        ::mkdir(dst.constData(), 0755);
        qputenv("XDG_DATA_HOME", root + "/data");
        qputenv("HOME", root + "/home");
        ui = ScriptedFileOpUi();
        ops = std::make_unique<CFileOperations>(ui);
    }
    // Writes a picture-like file of `size` bytes and returns its content.
    static QByteArray Picture(const QByteArray& path, qint64 size = 5000, int seed = 1) {
        const QByteArray data = Pattern(size, seed);
        if (!WriteBytes(path, data))
            qFatal("cannot write a test picture");
        return data;
    }

    QByteArray root, src, dst, trash;
    ScriptedFileOpUi ui;
    std::unique_ptr<CFileOperations> ops;

private:
    std::unique_ptr<NativeTempDir> m_tmp;
};

#pragma once

#include "tests/support/TestSupport.h"
#include "tests/support/WindowDriver.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QMessageBox>
#include <QTimer>
#include <memory>

// A temporary folder with the home folder Pics/, the trash below data/, the undo journal
// below state/, a settings store
// of its own whose first set has that home folder, and a main window started on them.
// Message boxes are answered at once and counted.
class PictureDesk {
public:
    PictureDesk() {
        QDir(m_dir.path()).mkpath("Pics");
        qputenv("XDG_DATA_HOME", QFile::encodeName(Path("data")));
        qputenv("XDG_STATE_HOME", QFile::encodeName(Path("state")));
        Store().WriteProfileString("TargetSet01", "HomeDirectory", Path("Pics"));
        m_answerer.callOnTimeout([this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++m_nMessages;
                box->done(QMessageBox::Ok);
            }
        });
        m_answerer.start(20);
    }
    ~PictureDesk() {
        m_frame.reset();
        QDir::setCurrent(QDir::tempPath());
    }

    QString Path(const QString& rel) const { return m_dir.filePath(rel); }
    CProfileStore& Store() { return m_profile.Store(); }
    // A picture of one colour, w x h, saved in `format` at rel; false when it could not be.
    bool Picture(const QString& rel, int w = 20, int h = 10, const char* format = "JPG") {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        return image.save(Path(rel), format);
    }
    WindowDriver& Start(const QString& startupPath = QString()) {
        m_frame = std::make_unique<WindowDriver>(Store(), startupPath);
        m_frame->Window().show();
        return *m_frame;
    }

    WindowDriver& Frame() { return *m_frame; }
    CPictureFileList& List() { return m_frame->FileList(); }
    CImageCtrl& Ctrl() { return m_frame->Ctrl(); }
    QStringList Listed() {
        QStringList names;
        for (int i = 0; i < List().GetItemCount(); ++i)
            names << List().GetItemText(i);
        return names;
    }
    void Select(const QString& name) { List().SelectItem(int(Listed().indexOf(name)), true); }
    QString Current() { return QFileInfo(List().m_strCurFile).fileName(); }
    QStringList OnDisk(const QString& rel) const { return QDir(Path(rel)).entryList(QDir::Files); }
    int Messages() const { return m_nMessages; }

private:
    QTemporaryDir m_dir;
    TempProfile m_profile;
    std::unique_ptr<WindowDriver> m_frame;
    QTimer m_answerer;
    int m_nMessages = 0;
};

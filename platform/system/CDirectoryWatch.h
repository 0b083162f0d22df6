#pragma once

#include "platform/system/DirectoryChanges.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QTimer>

class QSocketNotifier;

// Watches folders for names that appear and vanish (made, removed, renamed or moved in or
// out by any program). The kernel tells the names themselves (inotify), so a change costs no
// listing of the folder however many files it holds. Changes are gathered for a short while
// and then reported in one Changed signal per folder.
class CDirectoryWatch : public QObject {
    Q_OBJECT
public:
    explicit CDirectoryWatch(QObject* parent = nullptr);
    ~CDirectoryWatch() override;

    // The folder by its native path; true when it is watched (already or now).
    bool Watch(const QByteArray& dir);
    void Unwatch(const QByteArray& dir);
    void UnwatchAll();
    bool IsWatched(const QByteArray& dir) const { return m_wdOf.contains(dir); }
    QList<QByteArray> Watched() const { return m_wdOf.keys(); }
    // How long changes are gathered before they are reported.
    void SetDelay(int ms) { m_timer.setInterval(ms); }

Q_SIGNALS:
    // Names that appeared in or vanished from `dir`. With changes.Rescan() the names are not
    // known (the kernel dropped events): list the folder again. A folder that went itself is
    // reported with Gone and is no longer watched.
    void Changed(const QByteArray& dir, const DirectoryChanges& changes);
    void Gone(const QByteArray& dir);

private:
    void ReadEvents();
    void Flush();
    void Forget(int wd);

    int m_fd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QHash<QByteArray, int> m_wdOf;
    QHash<int, QByteArray> m_dirOf;
    QHash<int, DirectoryChanges> m_pending;
    QList<QByteArray> m_gone;
    QTimer m_timer;
};

#pragma once

#include "platform/shell/ListedEntry.h"
#include "platform/system/DirectoryChanges.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <functional>

class CFolderLister;
class QWidget;

// Finds out on a worker (CFolderLister) what the changes of a followed folder mean: what the
// names that appeared are (folder, link), or, when events were lost, what the folder holds
// now compared with what is listed. On a remote file system, whose changes no watch sees,
// the folder is read again every few seconds while the window is active. The GUI thread
// makes no file-system call for any of it.
class CFolderRefresher : public QObject {
    Q_OBJECT
public:
    // What was found: the changes, the flags of the names that appeared, and after a whole
    // reading every name the folder holds.
    struct Update {
        DirectoryChanges changes;
        QHash<QByteArray, unsigned char> flags;
        bool bWhole = false;
        QSet<QByteArray> all;
    };
    using Listed = std::function<QSet<QByteArray>()>;
    using Apply = std::function<void(const Update&)>;

    // `listed` gives the names listed now; `apply` takes what was found; `window` is active
    // while the person looks (a remote folder is read again only then).
    CFolderRefresher(QWidget* window, Listed listed, Apply apply);

    void Follow(CFolderLister* lister, const QByteArray& dir);
    void Stop();
    // Finds out what these changes are; with changes.Rescan(), reads the folder whole.
    void Read(const DirectoryChanges& changes);

Q_SIGNALS:
    // The folder followed was found on a remote file system: it is read again from now on,
    // so a watch of it adds nothing.
    void Remote();

private:
    void OnBatch(quint64 ticket, const ListedEntries& entries);
    void OnFinished(quint64 ticket, bool bOk);
    void OnLooked(quint64 ticket, const ListedEntries& found);
    void OnTick();

    QWidget* m_pWindow;
    Listed m_listed;
    Apply m_apply;
    QPointer<CFolderLister> m_pLister;
    QByteArray m_dir;
    quint64 m_nReading = 0; // the whole reading under way
    ListedEntries m_read;
    QSet<quint64> m_looks; // look-ups under way
    QTimer m_timer;
    bool m_bRemote = false; // Remote was said for m_dir
};

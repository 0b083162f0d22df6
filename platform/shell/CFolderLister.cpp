#include "platform/shell/CFolderLister.h"

#include "platform/shell/CDirEnumIDList.h"
#include "platform/shell/CFileSystemFolder.h"
#include "platform/shell/CShellItemId.h"
#include "platform/system/CRemoteFileSystem.h"

#include <QMetaObject>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kMostPerBatch = 8192;
} // namespace

struct CFolderLister::Job {
    QByteArray path;
    int nBatch = 128;
    bool bGrowing = true; // each batch twice the last, up to kMostPerBatch
    std::atomic<bool> bCancelled{false};
    QList<quint64> tickets;  // who waits for it
    ListedEntries delivered; // what it delivered so far, for those who join
    CListedFolder folder;
    bool bOpened = false;
};

CFolderLister::CFolderLister(QObject* parent) : QObject(parent) {
    qRegisterMetaType<ListedEntries>();
    qRegisterMetaType<CListedFolder>();
    m_pool.setMaxThreadCount(1); // one reading at a time: a share answers one call at a time
}

CFolderLister::~CFolderLister() {
    Shutdown();
}

void CFolderLister::Shutdown() {
    for (const auto& job : std::as_const(m_running))
        job->bCancelled = true;
    m_pool.clear();
    m_pool.waitForDone();
    m_running.clear();
    m_tickets.clear();
}

quint64 CFolderLister::List(const QByteArray& path) {
    const quint64 ticket = m_nNextTicket++;
    std::shared_ptr<Job> job = m_running.value(path);
    if (job) { // joins the reading under way
        job->tickets.append(ticket);
        m_tickets.insert(ticket, job);
        const ListedEntries sofar = job->delivered;
        const CListedFolder folder = job->folder;
        const bool bOpened = job->bOpened;
        QMetaObject::invokeMethod(
            this,
            [this, ticket, sofar, folder, bOpened] {
                if (!m_tickets.contains(ticket))
                    return;
                if (bOpened)
                    Q_EMIT Opened(ticket, folder);
                if (!sofar.isEmpty())
                    Q_EMIT Batch(ticket, sofar);
            },
            Qt::QueuedConnection);
        return ticket;
    }
    job = std::make_shared<Job>();
    job->path = path;
    job->nBatch = m_nBatch;
    job->bGrowing = !m_bFixedBatch;
    job->tickets.append(ticket);
    m_running.insert(path, job);
    m_tickets.insert(ticket, job);
    ++m_nStarted;
    m_pool.start([this, job] { Run(job); }, 1);
    return ticket;
}

void CFolderLister::Cancel(quint64 ticket) {
    const std::shared_ptr<Job> job = m_tickets.take(ticket);
    if (!job)
        return;
    job->tickets.removeAll(ticket);
    if (!job->tickets.isEmpty())
        return;
    job->bCancelled = true;
    if (m_running.value(job->path) == job)
        m_running.remove(job->path);
}

// On the worker: the entries, in batches, then the end; nothing more once given up.
void CFolderLister::Run(const std::shared_ptr<Job>& job) const {
    auto post = [this](auto fn) {
        QMetaObject::invokeMethod(const_cast<CFolderLister*>(this), fn, Qt::QueuedConnection);
    };
    auto* self = const_cast<CFolderLister*>(this);
    const int fd =
        job->bCancelled ? -1 : ::open(job->path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        post([self, job] { self->OnFinished(job, false); });
        return;
    }
    const CListedFolder folder = CListedFolder::Of(job->path, fd);
    const bool bRemote = CRemoteFileSystem::HoldsDescriptor(fd);
    post([self, job, folder, bRemote] { self->OnOpened(job, folder, bRemote); });
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        post([self, job] { self->OnFinished(job, false); });
        return;
    }
    ListedEntries batch;
    QByteArray key;
    errno = 0;
    while (const dirent* ent = ::readdir(dir)) {
        if (job->bCancelled)
            break;
        if (ent->d_name[0] == '.') // hidden, or the folder itself and its parent
            continue;
        SListedEntry entry;
        entry.name = QByteArray(ent->d_name, qsizetype(std::strlen(ent->d_name)));
        entry.flags = CDirEnumIDList::FlagsOf(fd, ent->d_name, ent->d_type);
        // Made here, the keys spare the window's thread a third of the sorting; each is
        // made in one buffer and copied out at its size.
        key.truncate(0);
        CFileSystemFolder::AppendKeyOf(entry.name, entry.flags & CShellItemId::IsFolder, key);
        entry.key = QByteArray(key.constData(), key.size());
        batch.append(std::move(entry));
        if (batch.size() >= job->nBatch) {
            post([self, job, batch] { self->OnBatch(job, batch); });
            batch.clear();
            if (job->bGrowing) // the first at once, then fewer changes of the list
                job->nBatch = std::min(job->nBatch * 2, kMostPerBatch);
        }
        errno = 0;
    }
    const bool bOk = errno == 0 && !job->bCancelled;
    ::closedir(dir);
    if (job->bCancelled)
        return;
    if (!batch.isEmpty())
        post([self, job, batch] { self->OnBatch(job, batch); });
    post([self, job, bOk] { self->OnFinished(job, bOk); });
}

void CFolderLister::OnOpened(const std::shared_ptr<Job>& job, const CListedFolder& folder,
                             bool bRemote) {
    if (bRemote || m_marked.contains(job->path))
        m_remote.insert(job->path);
    else
        m_remote.remove(job->path);
    job->folder = folder;
    job->bOpened = true;
    for (quint64 ticket : QList<quint64>(job->tickets))
        if (m_tickets.value(ticket) == job)
            Q_EMIT Opened(ticket, folder);
}

void CFolderLister::OnBatch(const std::shared_ptr<Job>& job, const ListedEntries& entries) {
    if (job->bCancelled)
        return; // late: nobody waits for it any more
    job->delivered.append(entries);
    for (quint64 ticket : QList<quint64>(job->tickets))
        if (m_tickets.value(ticket) == job)
            Q_EMIT Batch(ticket, entries);
}

void CFolderLister::OnFinished(const std::shared_ptr<Job>& job, bool bOk) {
    if (m_running.value(job->path) == job)
        m_running.remove(job->path);
    if (job->bCancelled)
        return;
    const QList<quint64> tickets = job->tickets;
    for (quint64 ticket : tickets)
        m_tickets.remove(ticket);
    if (bOk) {
        bool bHas = false;
        for (const SListedEntry& e : std::as_const(job->delivered))
            bHas = bHas || (e.flags & CShellItemId::IsFolder);
        Remember(job->path, bHas);
    }
    for (quint64 ticket : tickets)
        Q_EMIT Finished(ticket, bOk);
}

quint64 CFolderLister::Look(const QByteArray& dir, const QList<QByteArray>& names, bool bHidden) {
    const quint64 ticket = m_nNextTicket++;
    ++m_nLooks;
    m_pool.start(
        [this, ticket, dir, names, bHidden] {
            const ListedEntries found = LookUp(dir, names, bHidden);
            QMetaObject::invokeMethod(
                this,
                [this, ticket, found] {
                    --m_nLooks;
                    Q_EMIT Looked(ticket, found);
                },
                Qt::QueuedConnection);
        },
        1);
    return ticket;
}

// On the worker: each name looked up through the folder's descriptor, never by a path.
ListedEntries CFolderLister::LookUp(const QByteArray& dir, const QList<QByteArray>& names,
                                    bool bHidden) {
    ListedEntries found;
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return found;
    for (const QByteArray& name : names) {
        struct stat st {};
        if (name.isEmpty() || (name.startsWith('.') && !bHidden) || name == "." || name == ".." ||
            name.contains('/') || ::fstatat(fd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        const unsigned char type =
            S_ISLNK(st.st_mode) ? DT_LNK : (S_ISDIR(st.st_mode) ? DT_DIR : DT_REG);
        found.append(SListedEntry{name, CDirEnumIDList::FlagsOf(fd, name.constData(), type), {}});
    }
    ::close(fd);
    return found;
}

void CFolderLister::Probe(const QByteArray& path) {
    if (m_running.contains(path))
        return; // its listing answers
    if (m_subFolders.contains(path)) {
        const bool bHas = m_subFolders.value(path);
        QMetaObject::invokeMethod(
            this, [this, path, bHas] { Q_EMIT SubFolderKnown(path, bHas); }, Qt::QueuedConnection);
        return;
    }
    ++m_nProbes;
    m_pool.start(
        [this, path] {
            const bool bHas = CDirEnumIDList::HasSubFolder(path);
            QMetaObject::invokeMethod(
                this,
                [this, path, bHas] {
                    --m_nProbes;
                    Remember(path, bHas);
                },
                Qt::QueuedConnection);
        },
        0); // after the listings
}

int CFolderLister::KnownSubFolder(const QByteArray& path) const {
    const auto it = m_subFolders.constFind(path);
    return it == m_subFolders.cend() ? -1 : int(*it);
}

void CFolderLister::Remember(const QByteArray& path, bool bHas) {
    m_subFolders.insert(path, bHas);
    Q_EMIT SubFolderKnown(path, bHas);
}

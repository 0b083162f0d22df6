#include "platform/system/CDirectoryWatch.h"

#include <QSocketNotifier>

#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/inotify.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF |
                           IN_MOVE_SELF | IN_ONLYDIR | IN_EXCL_UNLINK;
constexpr int kDefaultDelayMs = 150;
} // namespace

CDirectoryWatch::CDirectoryWatch(QObject* parent) : QObject(parent) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(kDefaultDelayMs);
    connect(&m_timer, &QTimer::timeout, this, &CDirectoryWatch::Flush);
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return; // no watching: folders are only seen anew when listed again
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CDirectoryWatch::ReadEvents);
}

CDirectoryWatch::~CDirectoryWatch() {
    if (m_fd >= 0)
        close(m_fd); // removes every watch
}

bool CDirectoryWatch::Watch(const QByteArray& dir) {
    if (m_wdOf.contains(dir))
        return true;
    if (m_fd < 0 || dir.isEmpty())
        return false;
    const int wd = inotify_add_watch(m_fd, dir.constData(), kMask);
    if (wd < 0)
        return false;
    // Two paths of one folder (a link) share a watch: the later path names it.
    if (const auto old = m_dirOf.constFind(wd); old != m_dirOf.cend())
        m_wdOf.remove(*old);
    m_wdOf.insert(dir, wd);
    m_dirOf.insert(wd, dir);
    return true;
}

void CDirectoryWatch::Unwatch(const QByteArray& dir) {
    const auto it = m_wdOf.constFind(dir);
    if (it == m_wdOf.cend())
        return;
    const int wd = *it;
    inotify_rm_watch(m_fd, wd);
    Forget(wd);
}

void CDirectoryWatch::UnwatchAll() {
    const QList<int> wds = m_dirOf.keys();
    for (int wd : wds) {
        inotify_rm_watch(m_fd, wd);
        Forget(wd);
    }
}

void CDirectoryWatch::Forget(int wd) {
    m_wdOf.remove(m_dirOf.value(wd));
    m_dirOf.remove(wd);
    m_pending.remove(wd);
}

void CDirectoryWatch::ReadEvents() {
    alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
    for (;;) {
        const ssize_t got = read(m_fd, buffer, sizeof buffer);
        if (got <= 0)
            break; // EAGAIN: all read
        for (ssize_t at = 0; at < got;) {
            const auto* ev = reinterpret_cast<const inotify_event*>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + ev->len);
            if (ev->mask & IN_Q_OVERFLOW) {
                for (int wd : m_dirOf.keys())
                    m_pending[wd].SetRescan();
                continue;
            }
            if (!m_dirOf.contains(ev->wd))
                continue;
            if (ev->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                m_gone.append(m_dirOf.value(ev->wd));
                if (!(ev->mask & IN_IGNORED))
                    inotify_rm_watch(m_fd, ev->wd);
                Forget(ev->wd);
                continue;
            }
            if (ev->len == 0)
                continue;
            const QByteArray name(ev->name, qsizetype(strnlen(ev->name, ev->len)));
            const bool folder = ev->mask & IN_ISDIR;
            if (ev->mask & (IN_CREATE | IN_MOVED_TO))
                m_pending[ev->wd].Appeared(name, folder);
            else if (ev->mask & (IN_DELETE | IN_MOVED_FROM))
                m_pending[ev->wd].Vanished(name, folder);
        }
    }
    if (!m_timer.isActive())
        m_timer.start();
}

void CDirectoryWatch::Flush() {
    const QHash<int, DirectoryChanges> pending = std::exchange(m_pending, {});
    const QList<QByteArray> gone = std::exchange(m_gone, {});
    for (auto it = pending.cbegin(); it != pending.cend(); ++it)
        if (!it->IsEmpty() && m_dirOf.contains(it.key()))
            Q_EMIT Changed(m_dirOf.value(it.key()), it.value());
    for (const QByteArray& dir : gone)
        Q_EMIT Gone(dir);
}

#include "picture/load/CPictureLoader.h"

#include <QMetaObject>
#include <algorithm>

namespace {
// The picture on screen goes before every picture decoded ahead.
constexpr int kWantedPriority = 100;
// One worker for the picture on screen, one for decoding ahead, and one spare for when a
// cancelled decode is still finishing its current stage.
constexpr int kWorkers = 3;
} // namespace

CPictureLoader::CPictureLoader(QObject* parent) : QObject(parent) {
    m_pool.setMaxThreadCount(kWorkers);
}

CPictureLoader::~CPictureLoader() {
    for (const SRunning& job : std::as_const(m_running))
        job.pCancel->store(true);
    m_pool.clear();
    m_pool.waitForDone();
}

QImage CPictureLoader::Want(const QString& path, QSize target, QRect part) {
    m_wanted = {path, target};
    m_strShown = path;
    const CPictureCache::SEntry* entry = m_cache.Peek(path);
    if (entry && entry->target == target) {
        const CPictureCache::SEntry shown = *entry; // the cache may drop the entry meanwhile
        m_wanted = {};
        CancelUnwanted();
        Check(shown);
        return shown.image;
    }
    CancelUnwanted();
    if (!RunningFor(path, target)) {
        SDecodeOrder order;
        order.strPath = path;
        order.target = target;
        order.bPreview = true;
        order.part = part;
        Start(order, kWantedPriority);
    }
    return {};
}

// Cached pixels are shown at once; a worker then compares the file with what they were
// decoded from, and decodes it again only if it changed.
void CPictureLoader::Check(const CPictureCache::SEntry& entry) {
    for (const SRunning& job : std::as_const(m_running))
        if (job.bCheck && job.strPath == entry.strPath)
            job.pCancel->store(true); // it may have looked before the file last changed
    SDecodeOrder order;
    order.strPath = entry.strPath;
    order.target = entry.target;
    order.checked = entry.stamp;
    Start(order, kWantedPriority);
    m_running.last().bCheck = true;
}

void CPictureLoader::WantSized(const QString& path, QSize client, bool fit, qreal ratio,
                               qreal scale) {
    m_wanted = {path, QSize()};
    m_strShown = path;
    CancelUnwanted();
    if (RunningFor(path, QSize()))
        return; // any decode of the file tells the size
    SDecodeOrder order;
    order.strPath = path;
    order.client = client;
    order.bFit = fit;
    order.ratio = ratio;
    order.scale = scale;
    order.bPreview = true; // nothing of it is on screen yet: its stored preview first
    Start(order, kWantedPriority);
}

QImage CPictureLoader::CachedAnySize(const QString& path) {
    const CPictureCache::SEntry* entry = CachedEntry(path);
    return entry ? entry->image : QImage();
}

const CPictureCache::SEntry* CPictureLoader::CachedEntry(const QString& path) {
    return m_cache.Peek(path);
}

void CPictureLoader::Prefetch(const QStringList& paths, QSize client, bool fit, qreal ratio,
                              qreal scale) {
    m_prefetch = paths;
    m_prefetchView = {client, fit, ratio, scale};
    CancelUnwanted();
    if (!IsWaiting())
        StartPrefetch();
}

// Decoding ahead starts once the wanted picture is there, so that stepping quickly through
// the list never queues decodes of pictures that are passed by.
void CPictureLoader::StartPrefetch() {
    int priority = int(m_prefetch.size());
    for (const QString& path : std::as_const(m_prefetch)) {
        --priority;
        const CPictureCache::SEntry* entry = m_cache.Peek(path); // checked once shown
        const SPrefetchView& view = m_prefetchView;
        if (entry && entry->target == CDecodeJob::TargetFor(entry->ownSize, view.client, view.bFit,
                                                            view.ratio, view.scale))
            continue;
        if (RunningFor(path, QSize()))
            continue;
        SDecodeOrder order;
        order.strPath = path;
        order.client = view.client;
        order.bFit = view.bFit;
        order.ratio = view.ratio;
        order.scale = view.scale;
        Start(order, priority);
    }
}

void CPictureLoader::Forget() {
    m_wanted = {};
    m_strShown.clear();
    m_prefetch.clear();
    CancelUnwanted();
}

void CPictureLoader::Start(const SDecodeOrder& order, int priority) {
    SRunning job;
    job.nId = m_nNextId++;
    job.strPath = order.strPath;
    job.target = order.target;
    job.pCancel = std::make_shared<std::atomic<bool>>(false);
    m_running.append(job);
    // The loader waits for its workers before it goes, so `this` outlives every delivery;
    // a result posted meanwhile is discarded with the loader.
    auto deliver = [this](SDecodeResult result) {
        QMetaObject::invokeMethod(
            this, [this, result = std::move(result)]() mutable { OnDecoded(std::move(result)); },
            Qt::QueuedConnection);
    };
    m_pool.start(new CDecodeJob(job.nId, order, job.pCancel, deliver), priority);
}

int CPictureLoader::RunningCount() const {
    return int(std::count_if(m_running.cbegin(), m_running.cend(),
                             [](const SRunning& job) { return !job.bCheck; }));
}

bool CPictureLoader::IsChecking(const QString& path) const {
    return std::any_of(m_running.cbegin(), m_running.cend(), [&path](const SRunning& job) {
        return job.bCheck && job.strPath == path && !job.pCancel->load();
    });
}

// A running decode of `path` that will serve `target` (an invalid target: any decode of
// that file). A decode ahead serves any target until its own is known.
const CPictureLoader::SRunning* CPictureLoader::RunningFor(const QString& path,
                                                           QSize target) const {
    for (const SRunning& job : m_running)
        if (job.strPath == path && !job.bCheck && !job.pCancel->load() &&
            (!target.isValid() || !job.target.isValid() || job.target == target))
            return &job;
    return nullptr;
}

void CPictureLoader::CancelUnwanted() {
    for (const SRunning& job : std::as_const(m_running)) {
        const bool wanted =
            job.strPath == m_wanted.strPath &&
            (!job.target.isValid() || !m_wanted.target.isValid() || job.target == m_wanted.target);
        const bool checking = job.bCheck && job.strPath == m_strShown;
        if (!wanted && !checking && !m_prefetch.contains(job.strPath))
            job.pCancel->store(true);
    }
}

bool CPictureLoader::IsLive(quint64 id) const {
    for (const SRunning& running : m_running)
        if (running.nId == id)
            return !running.pCancel->load();
    return false;
}

void CPictureLoader::OnHeader(const SDecodeResult& result) {
    if (IsLive(result.nId) && result.strPath == m_strShown)
        Q_EMIT HeaderRead(result.strPath, result.header);
}

void CPictureLoader::OnDecoded(SDecodeResult result) {
    if (result.bHeader)
        return OnHeader(result);
    if (result.bPreview) {
        if (!IsLive(result.nId) || result.strPath != m_wanted.strPath)
            return;
        if (result.part.isValid()) {
            Q_EMIT PartDecoded(result.strPath, result.part, result.image);
            return;
        }
        // A stand-in that tells the picture's size first places it while the rest is decoded.
        if (result.ownSize.isValid() && !m_wanted.target.isValid())
            Q_EMIT SizeKnown(result.strPath, result.ownSize, 0);
        Q_EMIT Decoded(result.strPath, QSize(), result.image);
        return;
    }
    const auto job = std::find_if(m_running.cbegin(), m_running.cend(),
                                  [&result](const SRunning& r) { return r.nId == result.nId; });
    const bool check = job != m_running.cend() && job->bCheck;
    m_running.removeIf([&result](const SRunning& r) { return r.nId == result.nId; });
    if (result.bCancelled || result.bUnchanged)
        return;
    if (check && result.image.isNull()) {
        // Changed, and unreadable at the moment (another program is writing it): the pixels
        // on show stay, and the next time it is asked for it is decoded afresh.
        m_cache.Remove(result.strPath);
        return;
    }
    if (!result.image.isNull())
        m_cache.Insert({result.strPath, result.stamp, result.ownSize, result.target, result.image,
                        result.nBits, result.header});
    if (check && result.strPath == m_strShown && !IsWaiting())
        m_wanted = {result.strPath, result.target}; // the file on show changed meanwhile
    if (result.strPath != m_wanted.strPath)
        return; // decoded ahead: it waits in the cache
    Deliver(result);
}

void CPictureLoader::Deliver(const SDecodeResult& result) {
    const QString path = m_wanted.strPath;
    Q_EMIT HeaderRead(path, result.header); // when no early one came (a decode ahead's)
    if (result.image.isNull()) {
        m_wanted = {};
        Q_EMIT Failed(path, result.strError);
        if (!IsWaiting())
            StartPrefetch();
        return;
    }
    // Wanted at any size, the first decode is the one: it was made for the view.
    const bool exact = !m_wanted.target.isValid() || result.target == m_wanted.target;
    if (exact)
        m_wanted = {};
    else if (!RunningFor(path, m_wanted.target))
        Want(path, m_wanted.target); // made for another view size: decode the right one too
    Q_EMIT SizeKnown(path, result.ownSize, result.nBits);
    Q_EMIT Decoded(path, result.target, result.image);
    if (exact && !IsWaiting())
        StartPrefetch();
}

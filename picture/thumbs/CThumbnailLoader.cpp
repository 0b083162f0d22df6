#include "picture/thumbs/CThumbnailLoader.h"

#include "picture/thumbs/CThumbnailMaker.h"

#include <QMetaObject>
#include <QPointer>

#include <algorithm>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int kWorkers = 2;
constexpr qint64 kMemoryBytes = 64 * 1024 * 1024;
constexpr int kWorkerNice = 10;

// Thumbnails give way to the window and to the picture on show: a worker (and any decoder
// helper it starts, which inherits it) runs at a lower priority.
void LowerThisThread() {
    thread_local const bool lowered =
        ::setpriority(PRIO_PROCESS, id_t(::gettid()), kWorkerNice) == 0;
    Q_UNUSED(lowered);
}
} // namespace

CThumbnailLoader::CThumbnailLoader(const CThumbnailCache& cache, QObject* parent)
    : QObject(parent), m_cache(cache), m_images(kMemoryBytes) {
    m_pool.setMaxThreadCount(kWorkers);
}

CThumbnailLoader::~CThumbnailLoader() {
    m_waiting.clear();
    m_pStop->store(true);
    m_pool.waitForDone();
}

QImage CThumbnailLoader::Thumbnail(const QByteArray& nativePath) {
    if (const QImage* image = m_images.object(nativePath))
        return *image;
    if (!m_failed.contains(nativePath) && !m_running.contains(nativePath))
        Request(nativePath);
    return {};
}

void CThumbnailLoader::DropWaiting() {
    m_waiting.clear();
}

void CThumbnailLoader::Clear() {
    DropWaiting();
    m_images.clear();
    m_failed.clear();
}

void CThumbnailLoader::Request(const QByteArray& nativePath) {
    const auto found = std::find(m_waiting.begin(), m_waiting.end(), nativePath);
    if (found != m_waiting.end())
        m_waiting.erase(found);
    m_waiting.push_front(nativePath);
    if (m_waiting.size() > std::size_t(kMaxWaiting))
        m_waiting.pop_back();
    StartNext();
}

void CThumbnailLoader::StartNext() {
    while (m_running.size() < kWorkers && !m_waiting.empty()) {
        const QByteArray path = m_waiting.front();
        m_waiting.pop_front();
        m_running.insert(path);
        const QPointer<CThumbnailLoader> self(this);
        m_pool.start([self, cache = m_cache, path, stop = m_pStop] {
            LowerThisThread();
            const QImage image = Produce(cache, path, stop.get());
            if (stop->load())
                return;
            QMetaObject::invokeMethod(
                self,
                [self, path, image] {
                    if (self)
                        self->OnDone(path, image);
                },
                Qt::QueuedConnection);
        });
    }
}

void CThumbnailLoader::OnDone(const QByteArray& nativePath, const QImage& image) {
    m_running.remove(nativePath);
    if (image.isNull())
        m_failed.insert(nativePath);
    else
        m_images.insert(nativePath, new QImage(image), qMax<qint64>(1, image.sizeInBytes()));
    Q_EMIT Ready(nativePath);
    StartNext();
}

// On a worker thread: the cached thumbnail while it is up to date, else a new one, which
// is then kept in the cache (or its failure noted there).
QImage CThumbnailLoader::Produce(const CThumbnailCache& cache, const QByteArray& nativePath,
                                 const std::atomic<bool>* stop) {
    struct stat st {};
    if (::stat(nativePath.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    const qint64 mtime = st.st_mtime;
    QImage image = cache.Find(nativePath, mtime);
    if (!image.isNull() || cache.HasFailed(nativePath, mtime))
        return image;
    image = CThumbnailMaker::Make(nativePath, cache.Edge(), stop);
    if (stop->load())
        return {};
    if (image.isNull())
        cache.StoreFailure(nativePath, mtime);
    else
        cache.Store(nativePath, mtime, image);
    return image;
}

#pragma once

#include "picture/thumbs/CThumbnailCache.h"

#include <QByteArray>
#include <QCache>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QThreadPool>
#include <atomic>
#include <deque>
#include <memory>

// Thumbnails for a view, made on worker threads: the latest requests first (what is on
// screen now), older ones dropped once too many wait. A thumbnail is taken from the disk
// cache when it is up to date, else made and written there; one that cannot be made is
// noted as failed and not asked for again. The GUI thread never waits: Thumbnail answers
// from memory at once, and Ready tells when one is there.
class CThumbnailLoader : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxWaiting = 64;

    explicit CThumbnailLoader(const CThumbnailCache& cache, QObject* parent = nullptr);
    ~CThumbnailLoader() override; // drops what waits and lets the running ones finish

    // The thumbnail held in memory; null when none is (yet), and then it is requested
    // unless it failed or is under way.
    QImage Thumbnail(const QByteArray& nativePath);
    // True when the picture could not be made into a thumbnail.
    bool HasFailed(const QByteArray& nativePath) const { return m_failed.contains(nativePath); }
    // Forgets the requests that wait (another folder is listed); running ones still end.
    void DropWaiting();
    // Forgets everything held in memory too (the pictures may have changed).
    void Clear();
    int WaitingCount() const { return int(m_waiting.size()); }
    int RunningCount() const { return int(m_running.size()); }
    const CThumbnailCache& Cache() const { return m_cache; }

Q_SIGNALS:
    // The thumbnail of this picture is held now (or it failed).
    void Ready(const QByteArray& nativePath);

private:
    void Request(const QByteArray& nativePath);
    void StartNext();
    void OnDone(const QByteArray& nativePath, const QImage& image);
    static QImage Produce(const CThumbnailCache& cache, const QByteArray& nativePath,
                          const std::atomic<bool>* stop);

    CThumbnailCache m_cache;
    QThreadPool m_pool;
    std::deque<QByteArray> m_waiting; // the most recent request first
    QSet<QByteArray> m_running;
    QSet<QByteArray> m_failed;
    QCache<QByteArray, QImage> m_images;
    std::shared_ptr<std::atomic<bool>> m_pStop = std::make_shared<std::atomic<bool>>(false);
};

#pragma once

#include "picture/load/CDecodeJob.h"
#include "picture/load/CPictureCache.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QThreadPool>

// Decodes pictures on worker threads and keeps the results in a cache. One picture at a
// time is wanted for the screen; a few more may be decoded ahead. A decode nobody wants
// any more is cancelled, and its result, if it still comes, is dropped.
class CPictureLoader : public QObject {
    Q_OBJECT
public:
    explicit CPictureLoader(QObject* parent = nullptr);
    ~CPictureLoader() override; // cancels what runs and waits for the workers to stop

    // The picture to show now at `target`: its cached pixels, if any; otherwise a null
    // image, and Decoded or Failed follows. Nothing here touches the disk: whether a cached
    // file changed since is asked by a worker, and if it did, HeaderRead and Decoded (or
    // Failed) follow with what it holds now.
    // With a valid `part` (the picture at its own size), that part of a JPEG comes first
    // (PartDecoded).
    QImage Want(const QString& path, QSize target, QRect part = QRect());
    // The picture to show now when its size is not known yet (its header is not read yet,
    // or does not tell it, and none of it is cached): HeaderRead follows once the header is
    // read, then it is decoded at the size it has in a view of `client` pixels, fitted or at
    // `scale`, and SizeKnown and Decoded, or Failed, follow.
    void WantSized(const QString& path, QSize client, bool fit, qreal ratio, qreal scale = 1.0);
    // Any cached pixels of the file whatever their size (to show scaled meanwhile).
    QImage CachedAnySize(const QString& path);
    // The cached entry of the file, of any size (its figures); null when none. Not checked
    // against the disk: Want does that.
    const CPictureCache::SEntry* CachedEntry(const QString& path);
    // The files to decode ahead, the most likely first, for a view of `client` pixels; they
    // are started once the wanted picture is decoded.
    // Not fitted, they are shown at `scale`.
    void Prefetch(const QStringList& paths, QSize client, bool fit, qreal ratio, qreal scale = 1.0);
    QStringList PrefetchPaths() const { return m_prefetch; }
    // Nothing is wanted for the screen any more.
    void Forget();

    // True while the wanted picture is still being decoded.
    bool IsWaiting() const { return !m_wanted.strPath.isEmpty(); }
    // The decodes started and not yet delivered (checks of cached pictures not counted).
    int RunningCount() const;
    // True while a worker checks whether the cached pixels of `path` still hold.
    bool IsChecking(const QString& path) const;
    CPictureCache& Cache() { return m_cache; }

Q_SIGNALS:
    // Pixels of the wanted file: at the wanted size; or (from a decode ahead made for
    // another view size) at `target` while the exact size is decoded next; or, with an
    // invalid target, the file's own small preview while the picture is decoded.
    void Decoded(const QString& path, QSize target, const QImage& image);
    void Failed(const QString& path, const QString& error);
    // The part of the wanted picture asked for, at its own size, while the rest is decoded.
    void PartDecoded(const QString& path, QRect part, const QImage& image);
    // The size and depth the decode of the wanted file found, just before its Decoded; or,
    // while its size is not known, the size a stand-in tells, before that (depth 0).
    void SizeKnown(const QString& path, QSize own, int bitsPerPixel);
    // What the header of the file on show tells, or why it cannot be shown, as soon as a
    // worker has read it (before its pixels).
    void HeaderRead(const QString& path, const CPictureSource::SHeader& header);

private:
    struct SRunning {
        quint64 nId = 0;
        QString strPath;
        QSize target; // invalid for a decode ahead until it is done
        std::shared_ptr<std::atomic<bool>> pCancel;
        bool bCheck = false; // whether the cached pixels of the file on show still hold
    };
    struct SWanted {
        QString strPath;
        QSize target; // invalid: any size (the picture's own size was not known)
    };

    struct SPrefetchView {
        QSize client;
        bool bFit = false;
        qreal ratio = 1.0;
        qreal scale = 1.0;
    };

    void Deliver(const SDecodeResult& result);

    void Start(const SDecodeOrder& order, int priority);
    void Check(const CPictureCache::SEntry& entry);
    void OnHeader(const SDecodeResult& result);
    bool IsLive(quint64 id) const;
    void StartPrefetch();
    void OnDecoded(SDecodeResult result);
    const SRunning* RunningFor(const QString& path, QSize target) const;
    void CancelUnwanted();

    QThreadPool m_pool;
    CPictureCache m_cache;
    QList<SRunning> m_running;
    SWanted m_wanted;
    QString m_strShown; // the file last wanted for the screen, until Forget
    QStringList m_prefetch;
    SPrefetchView m_prefetchView;
    quint64 m_nNextId = 1;
};

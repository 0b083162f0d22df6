#pragma once

#include "picture/format/CRawPreviews.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <atomic>

// The first sight of a camera RAW file of the TIFF kind, in this process: the smallest of
// the JPEG previews it stores that fills at least half the view on each side, decoded by
// Qt's JPEG reader (as a JPEG file is) at the coarsest scale its transform reaches that
// keeps that half, and turned as the file says; the view shows it scaled. It only stands in: the
// decoder helper still reads the file and what it gives replaces this. Anything odd (no
// preview, one of another shape than the sensor's, cut, too large, not a plain JPEG) gives
// nothing, never a crash. The file is read through the descriptor it was opened with.
// Where that preview is large, the small uncompressed thumbnail the file may also store comes
// first: it is read in a moment, while a large preview's decode takes a good part of a second's
// tenth.
class CRawStandIn {
public:
    // Reads the directories of the file open at `fd`.
    explicit CRawStandIn(int fd);

    // The picture's size, upright, as the file tells it: the sensor's where the directories
    // give it, else the largest preview's; empty when there is no preview to show (a
    // thumbnail alone counts where the sensor's size is known).
    QSize Own() const { return m_own; }
    // Whether Read(target) decodes a preview small enough to be on screen at once.
    bool Quick(QSize target) const;
    // The thumbnail, upright, of the picture's shape; null when there is none.
    QImage Thumbnail() const;
    // The picture for a first sight at `target` upright pixels: at least half of it on each
    // side where a preview is that large (empty target: the largest preview whole); null
    // when nothing can stand in. A raised `cancel` stops it before the preview is read.
    QImage Read(QSize target, const std::atomic<bool>* cancel = nullptr) const;

private:
    struct SCandidate {
        CRawPreviews::SPreview place;
        QSize stored; // as the JPEG's frame header gives it
    };

    QByteArray ReadAt(qint64 offset, qint64 length) const;
    QSize Upright(QSize stored) const;
    void Choose(const CRawPreviews& found);
    const SCandidate* Covering(QSize target) const;
    static QSize Rough(QSize target);

    int m_fd;
    int m_nOrientation = 1;
    QSize m_own;
    QList<SCandidate> m_candidates;       // the usable previews, the smallest first
    CRawPreviews::SThumbnail m_thumbnail; // empty size: none usable
};

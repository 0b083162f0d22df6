#pragma once

#include <QImage>
#include <QThreadPool>

// Gives the pixels of pictures no longer wanted back to the system on a thread of its own.
// A camera-size picture at full size is about 100 MB; returning that much takes the
// calling thread several milliseconds, longer while decoders are filling fresh pages, and
// the window must not wait for it. Small pictures, and pictures still shown or kept
// elsewhere, are let go where they are.
class CPixelRelease {
public:
    // Pictures below this many bytes are freed at once on the calling thread.
    static constexpr qsizetype kSmall = 4 * 1024 * 1024;

    CPixelRelease();
    // Waits for what is being freed.
    ~CPixelRelease();
    CPixelRelease(const CPixelRelease&) = delete;
    CPixelRelease& operator=(const CPixelRelease&) = delete;

    // Takes the picture (leaving it null) and frees its pixels if this was the last
    // holder of them.
    void Release(QImage& image);

private:
    QThreadPool m_pool;
};

#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>

class CEpsFile;

// Rasterises Encapsulated PostScript with Ghostscript, run by the sandboxed decoder
// helper. Without Ghostscript, or when it fails, the file's own preview is shown if it has
// one.
class CEpsRenderer {
public:
    // The picture at `target` pixels (the bounding box at 72 dpi when target is empty). A set
    // `cancel` flag stops the drawing.
    static QImage Render(const CEpsFile& eps, QSize target, const std::atomic<bool>* cancel,
                         QString& error);

private:
    static QImage Preview(const CEpsFile& eps, const std::atomic<bool>* cancel);
};

#pragma once

#include <QImage>
#include <QSize>
#include <QString>

class CEpsFile;

// Rasterises Encapsulated PostScript with Ghostscript in its safe mode, in a separate
// process that is stopped when it takes too long. Without Ghostscript, or when it fails,
// the file's own preview is shown if it has one.
class CEpsRenderer {
public:
    // The picture at `target` pixels (the bounding box at 72 dpi when target is empty).
    static QImage Render(const CEpsFile& eps, QSize target, QString& error);

    // For tests: the program to run and how long it may take.
    static void SetProgram(const QString& program);
    static void SetTimeout(int milliseconds);

private:
    static QImage RunGhostscript(const CEpsFile& eps, QSize target, QString& error);
    static QImage Preview(const CEpsFile& eps);
};

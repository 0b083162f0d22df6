#include "picture/CEpsRenderer.h"

#include "picture/CEpsFile.h"
#include "picture/CMagickReader.h"
#include "picture/DecodeLimits.h"
#include "picture/PictureFormat.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtMath>
#include <cmath>

namespace {
QString s_program = QStringLiteral("gs");
int s_timeoutMs = limits::kGhostscriptTimeoutMs;
} // namespace

void CEpsRenderer::SetProgram(const QString& program) {
    s_program = program;
}
void CEpsRenderer::SetTimeout(int milliseconds) {
    s_timeoutMs = milliseconds;
}

QImage CEpsRenderer::Render(const CEpsFile& eps, QSize target, QString& error) {
    QImage image = RunGhostscript(eps, target, error);
    if (image.isNull()) {
        QImage preview = Preview(eps);
        if (!preview.isNull()) {
            error.clear();
            return preview;
        }
    }
    return image;
}

QImage CEpsRenderer::RunGhostscript(const CEpsFile& eps, QSize target, QString& error) {
    const QRectF box = eps.BoundingBox();
    if (box.isEmpty()) {
        error = QObject::tr("The PostScript file gives no bounding box.");
        return {};
    }
    if (!target.isValid() || target.isEmpty())
        target = QSize(qCeil(box.width()), qCeil(box.height()));
    double scale = std::min(target.width() / box.width(), target.height() / box.height());
    const double pixels = box.width() * box.height() * scale * scale;
    if (pixels > double(limits::kMaxPixels))
        scale *= std::sqrt(double(limits::kMaxPixels) / pixels);

    QTemporaryDir dir;
    const QString input = dir.filePath(QStringLiteral("in.eps"));
    const QString output = dir.filePath(QStringLiteral("out.ppm"));
    QFile in(input);
    if (!dir.isValid() || !in.open(QIODevice::WriteOnly) ||
        in.write(eps.PostScript().data(), eps.PostScript().size()) != eps.PostScript().size()) {
        error = QObject::tr("No temporary file could be written for the PostScript.");
        return {};
    }
    in.close();

    QProcess gs;
    gs.setProgram(s_program);
    gs.setArguments({QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
                     QStringLiteral("-dNOPAUSE"), QStringLiteral("-dQUIET"),
                     QStringLiteral("-dEPSCrop"), QStringLiteral("-sDEVICE=ppmraw"),
                     QStringLiteral("-dTextAlphaBits=4"), QStringLiteral("-dGraphicsAlphaBits=4"),
                     QStringLiteral("-r%1").arg(72.0 * scale, 0, 'f', 3),
                     QStringLiteral("-sOutputFile=") + output, QStringLiteral("-f"), input});
    gs.setStandardInputFile(QProcess::nullDevice());
    gs.start();
    if (!gs.waitForStarted(5000)) {
        error = QObject::tr("Ghostscript (gs), which draws PostScript, is not installed.");
        return {};
    }
    if (!gs.waitForFinished(s_timeoutMs)) {
        gs.kill();
        gs.waitForFinished(2000);
        error = QObject::tr("Drawing the PostScript took too long and was stopped.");
        return {};
    }
    QImageReader reader(output, "ppm");
    QImage image =
        gs.exitStatus() == QProcess::NormalExit && gs.exitCode() == 0 ? reader.read() : QImage();
    if (image.isNull())
        error = QObject::tr("Ghostscript could not draw the PostScript.");
    return image;
}

QImage CEpsRenderer::Preview(const CEpsFile& eps) {
    if (!eps.TiffPreview().isEmpty()) {
        QByteArray bytes = eps.TiffPreview().toByteArray();
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "tiff");
        const QSize size = reader.size();
        if (size.isValid() && limits::WithinLimits(size.width(), size.height()))
            return reader.read();
    }
    if (!eps.MetafilePreview().isEmpty()) {
        int bits = 0;
        QString ignored;
        return CMagickReader::Read(eps.MetafilePreview().toByteArray(), picfmt::kWmf, bits,
                                   ignored);
    }
    return {};
}

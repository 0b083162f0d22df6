// vantrel-decode: decodes picture files through the imaging control's pipeline and prints
// one tab-separated line per file: path, size, depth, format code and decode time; or the
// path and the reason it cannot be shown.
//
//   vantrel-decode [--fit WxH] [--repeat N] [--metadata | --dates] FILE...
//
// --metadata reads each file's camera record through the helper instead and prints the
// path and the answer's facts on one line (or "error: " and the reason). --dates reads the
// dates taken of all the files at once, as the list does to order them (JPEG in this process,
// the others in batches by the helper), and prints the path and the date or "-"; it exits
// with 3 when the helper died on a batch or its answer was refused.
//
// --fit decodes as the view does when fitting the picture into a WxH control; --repeat
// decodes each file N times and reports the median time and the 90th percentile.
//
// --preview decodes the preview a HEIF file (by the helper) or a camera RAW file (in this
// process, at the --fit size) stores instead: the first sight of it. --ahead
// pauses before each decode, so that the decoder helper started ahead waits for it; --cold
// ends the waiting helpers before each, so that it pays for a helper's start.

#include "bench/BenchStats.h"
#include "picture/format/PictureFormat.h"
#include "picture/load/CDateTakenReader.h"
#include "picture/load/CFitScale.h"
#include "picture/load/CPictureSource.h"
#include "picture/load/CRawStandIn.h"
#include "picture/sandbox/CDateBatch.h"
#include "picture/sandbox/CDecoderClient.h"
#include "picture/sandbox/MetadataProtocol.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {
using bench::Median;
using bench::Percentile90;

struct SOptions {
    QSize fit;
    int repeat = 1;
    bool bMetadata = false;
    bool bDates = false;
    bool bPreview = false;
    bool bAhead = false;
    bool bCold = false;
    QStringList files;
};

bool ParseArguments(const QStringList& args, SOptions& options) {
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--fit") && i + 1 < args.size()) {
            const QStringList wh = args[++i].split(QLatin1Char('x'));
            options.fit = wh.size() == 2 ? QSize(wh[0].toInt(), wh[1].toInt()) : QSize();
            if (options.fit.isEmpty())
                return false;
        } else if (a == QLatin1String("--repeat") && i + 1 < args.size()) {
            options.repeat = args[++i].toInt();
            if (options.repeat < 1)
                return false;
        } else if (a == QLatin1String("--metadata")) {
            options.bMetadata = true;
        } else if (a == QLatin1String("--dates")) {
            options.bDates = true;
        } else if (a == QLatin1String("--preview")) {
            options.bPreview = true;
        } else if (a == QLatin1String("--ahead")) {
            options.bAhead = true;
        } else if (a == QLatin1String("--cold")) {
            options.bCold = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            options.files.append(a);
        }
    }
    return !options.files.isEmpty();
}

// One decode as the view does it: header, then the pixels at the size they are shown.
bool DecodeOnce(const QString& path, QSize fit, CPictureSource& source) {
    if (!source.Open(path))
        return false;
    // As the worker does: a type decoded whole tells its true size with its pixels.
    if (source.DecodesWhole() && source.Image(fit.isValid() ? fit : QSize()).isNull())
        return false;
    const SPictureInfo& info = source.Info();
    QSize target(info.nWidth, info.nHeight);
    if (fit.isValid()) {
        const int p = CFitScale::Percent(float(fit.width()), float(fit.height()),
                                         float(info.nWidth), float(info.nHeight));
        target = CFitScale::ScaledSize(float(info.nWidth), float(info.nHeight), p).toSize();
    }
    return !source.ImageAt(target).isNull();
}

// The preview the file stores, read as the first sight of it is: a camera RAW file's (and its
// thumbnail) in this process, a HEIF file's by the helper.
bool PreviewOnce(const QString& path, QSize fit) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const int format = CPictureSource::DetectFileFormat(path);
    bool ok = false;
    if (fd >= 0 && format == picfmt::kRaw) {
        const CRawStandIn standIn(fd);
        const bool thumbnail = !standIn.Thumbnail().isNull();
        ok = !standIn.Read(fit).isNull() || thumbnail;
    } else if (fd >= 0) {
        ok = !CDecoderClient::DecodePreview(fd, format).image.isNull();
    }
    if (fd >= 0)
        ::close(fd);
    return ok;
}

// Before a timed decode: a helper waits for it, or none does.
void Prepare(const SOptions& options) {
    if (options.bCold)
        CDecoderClient::Shutdown();
    else if (options.bAhead)
        QThread::msleep(300);
}

// The file's camera record as the program gets it, on one line.
bool PrintMetadata(const QString& path, QTextStream& out) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const CDecoderClient::SMetadata read =
        CDecoderClient::ReadMetadata(fd, CPictureSource::DetectFileFormat(path));
    if (fd >= 0)
        ::close(fd);
    if (!read.strError.isEmpty()) {
        out << path << "\terror: " << read.strError << '\n';
        return false;
    }
    QByteArray line = metadata_protocol::Format(read.facts);
    out << path << '\t' << QString::fromUtf8(line.replace('\n', ' ')) << '\n';
    return true;
}

// The dates taken of all `files`, one line each; 3 when a helper run was refused.
int PrintDates(const QStringList& files, QTextStream& out) {
    const QList<QDateTime> dates = CDateTakenReader::Read(files);
    for (qsizetype i = 0; i < files.size(); ++i)
        out << files[i] << '\t'
            << (dates[i].isValid() ? dates[i].toString(Qt::ISODate) : QStringLiteral("-")) << '\n';
    return CDateBatch::Refusals() > 0 ? 3 : 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    // The decoder helper of this build, unless VANTREL_DECODER names another.
    if (qEnvironmentVariableIsEmpty("VANTREL_DECODER"))
        CDecoderClient::SetHelper(QStringLiteral(VANTREL_DECODER_BUILT));
    SOptions options;
    if (!ParseArguments(app.arguments(), options)) {
        QTextStream(stderr)
            << "usage: vantrel-decode [--fit WxH] [--repeat N] [--metadata | --dates | --preview] "
               "[--ahead | --cold] FILE...\n";
        return 2;
    }
    if (options.bDates)
        return PrintDates(options.files, out);
    int failures = 0;
    for (const QString& path : options.files) {
        if (options.bMetadata) {
            failures += PrintMetadata(path, out) ? 0 : 1;
            continue;
        }
        std::vector<double> times;
        CPictureSource source;
        bool ok = true;
        for (int i = 0; i < options.repeat && ok; ++i) {
            Prepare(options);
            QElapsedTimer timer;
            timer.start();
            ok = options.bPreview ? PreviewOnce(path, options.fit)
                                  : DecodeOnce(path, options.fit, source);
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        if (!ok) {
            out << path << "\terror: " << source.Error() << '\n';
            ++failures;
            continue;
        }
        const SPictureInfo& info = source.Info();
        out << path << '\t' << info.nWidth << 'x' << info.nHeight << '\t' << info.nBitsPerPixel
            << " bpp\tformat " << info.nFormat << '\t' << QString::number(Median(times), 'f', 1)
            << " ms\tp90 " << QString::number(Percentile90(times), 'f', 1) << " ms\n";
    }
    return failures ? 1 : 0;
}

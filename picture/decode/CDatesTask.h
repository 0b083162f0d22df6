#pragma once

#include <QDateTime>
#include <QList>

// The helper's work when it is asked for the dates taken of several files at once: each file
// read as the metadata task reads one (CMetadataReader), one after the other. Runs inside the
// sandbox; nothing here trusts the files.
class CDatesTask {
public:
    // The dates of the files found open from decoder_protocol::kFirstFileFd on, of the types
    // `formats` (picfmt), one a file; invalid where a file records none or cannot be read.
    static QList<QDateTime> Read(const QList<int>& formats);
    // Seconds of processor time a run on `count` files may take.
    static int CpuSeconds(qsizetype count);

private:
    static QDateTime ReadOne(int fd, int format);
};

#include "picture/load/CDateTakenReader.h"

#include "picture/load/CMetadataSource.h"

QList<QDateTime> CDateTakenReader::Read(const QList<QString>& paths,
                                        const std::atomic<bool>* cancel) {
    QList<QDateTime> dates(paths.size());
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (cancel && cancel->load())
            break;
        dates[i] = CMetadataSource::DateTaken(paths[i]);
    }
    return dates;
}

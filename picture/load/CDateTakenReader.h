#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <atomic>

class CDateTakenReader {
public:
    // The moment each picture was taken, aligned with `paths` (invalid where the file does not
    // record it or cannot be read). Blocks: call it off the interface thread, with batches of a
    // few hundred paths. A set `cancel` flag stops it early (the rest invalid).
    static QList<QDateTime> Read(const QList<QString>& paths,
                                 const std::atomic<bool>* cancel = nullptr);
};

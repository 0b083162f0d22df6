#include "picture/sandbox/DecodeLimits.h"

#include <QImageReader>

void limits::ApplyQtAllocationLimit() {
    static const bool bApplied = [] {
        QImageReader::setAllocationLimit(kQtAllocationMB);
        return true;
    }();
    (void)bApplied;
}

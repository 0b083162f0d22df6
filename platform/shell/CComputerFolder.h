#pragma once

#include "platform/shell/CVirtualFolder.h"

#include <QByteArray>
#include <QList>

// "Computer": the file-system root, then the drives and removable media mounted where a
// desktop mounts them (/media, /run/media, /mnt).
class CComputerFolder : public CVirtualFolder {
public:
    std::unique_ptr<CEnumIDList> EnumObjects(ULONG grfFlags) override;

    // The mount points shown below Computer, the root first.
    static QList<QByteArray> DrivePaths();

protected:
    QString RootedName(const QByteArray& path) const override;
};

#pragma once

#include "platform/shell/CVirtualFolder.h"

#include <QByteArray>

// The top of the namespace: "Computer" (the file system and the mounted drives), then
// the user's home folder.
class CDesktopFolder : public CVirtualFolder {
public:
    std::unique_ptr<CEnumIDList> EnumObjects(ULONG grfFlags) override;

    // The home folder's path as bytes ($HOME, as the system hands it over).
    static QByteArray HomePath();

protected:
    QString RootedName(const QByteArray& path) const override;
};

#include "platform/ui/ShowMessage.h"

#include "resources/StringTable.h"

#include <QMessageBox>

void ShowMessage(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Warning, strings::Load(strings::IDS_APP_TITLE), text,
                    QMessageBox::Ok, owner);
    box.exec();
}

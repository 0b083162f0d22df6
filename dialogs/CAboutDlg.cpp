#include "dialogs/CAboutDlg.h"

#include "platform/system/LocaleFormat.h"
#include "platform/system/SystemMemory.h"
#include "platform/ui/CDialogBuilder.h"
#include "resources/StringTable.h"
#include "resources/templates/AboutTemplate.h"

#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    CDialogBuilder::Build(this, dlg::AboutTemplate());
    setFixedSize(size());
    CDialogBuilder::SetText(this, dlg::IDC_SYSTEM_MEMORY, MemoryText(PhysicalMemoryBytes()));
    if (auto* ok = CDialogBuilder::ControlAs<QPushButton>(this, 1))
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

QString CAboutDlg::MemoryText(unsigned long long bytes) {
    // The whole 64-bit amount: machines with 4 GB or more must not wrap around.
    QString format = strings::Load(strings::IDS_MEMORY_FORMAT);
    return format.replace(QStringLiteral("%lu"), locale_format::Number(qint64(bytes >> 10)));
}

#include "dialogs/CFileTypesDlg.h"

#include "resources/FileTypes.h"
#include "resources/templates/FileTypesTemplate.h"
#include "settings/CSettings.h"

#include <array>

namespace {

struct FormatBox {
    int id;
    int bit;
};

// The format boxes in the order they are filled and read.
constexpr std::array kFormatBoxes{
    FormatBox{1012, 0x0400},
    FormatBox{1013, 0x1000},
    FormatBox{1015, 0x0010},
    FormatBox{1017, 0x0008},
    FormatBox{1019, 0x0001},
    FormatBox{1021, 0x0080},
    FormatBox{1024, 0x0040},
    FormatBox{1023, 0x0100},
    FormatBox{1014, 0x0002},
    FormatBox{1016, 0x0004},
    FormatBox{1018, 0x0020},
    FormatBox{1020, 0x0200},
    FormatBox{1022, 0x0800},
    FormatBox{dlg::IDC_WEBP, filetypes::kWebpBit},
    FormatBox{dlg::IDC_HEIC, filetypes::kHeicBit},
    FormatBox{dlg::IDC_AVIF, filetypes::kAvifBit},
    FormatBox{dlg::IDC_RAW, filetypes::kRawBit},
};

int FormatCodeOf(int bit) {
    const filetypes::PictureFileType* type = filetypes::FindByBit(bit);
    return type ? type->formatCode : filetypes::kNoFormat;
}

} // namespace

CFileTypesDlg::CFileTypesDlg(QWidget* parent) : CTemplateDialog(dlg::FileTypesTemplate(), parent) {
    OnCommand(dlg::IDC_ALL_FILES, [this] { OnAllFiles(); });
}

QString CFileTypesDlg::FormatTypeLabel(int nFormatCode) {
    // A family of extensions (camera RAW) is named by its description alone; the box's
    // tooltip lists the extensions.
    const filetypes::PictureFileType* type = filetypes::FindByFormat(nFormatCode);
    if (type && filetypes::ShortName(nFormatCode) != QLatin1String(type->extension))
        return filetypes::Description(nFormatCode);
    return QStringLiteral("*.") + filetypes::ShortName(nFormatCode) + QStringLiteral(" (") +
           filetypes::Description(nFormatCode) + QStringLiteral(")");
}

void CFileTypesDlg::EnableFormatBoxes(bool bEnable) {
    for (const FormatBox& box : kFormatBoxes)
        if (QWidget* w = Item(box.id))
            w->setEnabled(bEnable);
}

void CFileTypesDlg::DoDataExchange(bool bSaveAndValidate) {
    DDX_Check(bSaveAndValidate, dlg::IDC_ALL_FILES, m_bAllFiles);
}

bool CFileTypesDlg::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    for (const FormatBox& box : kFormatBoxes) {
        SetItemText(box.id, FormatTypeLabel(FormatCodeOf(box.bit)));
        SetExtensionsTip(box.id, box.bit);
        SetCheck(box.id, m_pSettings && m_pSettings->IsFilterFlagSet(box.bit));
    }
    if (m_pSettings && m_pSettings->IsFilterFlagSet(filetypes::kAllFilesBit)) {
        SetCheck(dlg::IDC_ALL_FILES, true);
        EnableFormatBoxes(false);
        m_bAllFiles = 1;
    } else {
        EnableFormatBoxes(true); // a dialog shown again starts from the settings alone
        m_bAllFiles = 0;
    }
    UpdateData(false);
    return true;
}

void CFileTypesDlg::SetExtensionsTip(int id, int bit) {
    const filetypes::PictureFileType* type = filetypes::FindByBit(bit);
    QWidget* box = Item(id);
    if (!type || !box || !*type->aliases)
        return;
    QStringList endings = filetypes::Extensions(*type);
    for (QString& ending : endings)
        ending.prepend(QStringLiteral("*."));
    box->setToolTip(endings.join(QLatin1Char(' ')));
}

void CFileTypesDlg::OnAllFiles() {
    // Follows the box's own mark, so the format boxes can never get out of step with it.
    m_bAllFiles = IsChecked(dlg::IDC_ALL_FILES) ? 1 : 0;
    EnableFormatBoxes(!m_bAllFiles);
}

void CFileTypesDlg::OnOK() {
    UpdateData(true);
    if (m_pSettings) {
        m_pSettings->ClearFilterFlags();
        for (const FormatBox& box : kFormatBoxes)
            if (IsChecked(box.id))
                m_pSettings->AddFilterFlags(box.bit);
        if (IsChecked(dlg::IDC_ALL_FILES))
            m_pSettings->AddFilterFlags(filetypes::kAllFilesBit);
    }
    CTemplateDialog::OnOK();
}

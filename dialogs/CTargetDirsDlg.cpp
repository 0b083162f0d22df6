#include "dialogs/CTargetDirsDlg.h"

#include "dialogs/CSelectDir.h"
#include "resources/templates/TargetDirsTemplate.h"
#include "settings/CSettings.h"

CTargetDirsDlg::CTargetDirsDlg(QWidget* parent)
    : CTemplateDialog(dlg::TargetDirsTemplate(), parent) {
    // The home directory's Browse keeps the process in the chosen directory; the others don't.
    OnCommand(dlg::IDC_BROWSE_BASE, [this] { BrowseForDir(0, true); });
    for (int k = 1; k <= kTargetCount; ++k)
        OnCommand(dlg::IDC_BROWSE_BASE + k, [this, k] { BrowseForDir(k, false); });
    for (int n = 0; n < kTargetSetCount; ++n)
        OnCommand(dlg::IDC_GROUP_BASE + n, [this, n] { SelectGroup(n); });
}

bool CTargetDirsDlg::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    LoadControls();
    if (m_pSettings)
        SetCheck(dlg::IDC_GROUP_BASE + CSettings::ClampSelectionSet(m_pSettings->GetSelectionSet()),
                 true);
    return true;
}

void CTargetDirsDlg::OnOK() {
    SaveControls();
    CTemplateDialog::OnOK();
}

void CTargetDirsDlg::LoadControls() {
    SetItemText(dlg::IDC_HOME_LABEL, QStringLiteral("Home"));
    if (!m_pSettings)
        return;
    SetItemText(dlg::IDC_DIR_BASE, m_pSettings->GetHomeDirectory());
    for (int i = 0; i < kTargetCount; ++i) {
        SetItemText(dlg::IDC_FIRST_NAME + i, m_pSettings->GetTargetName(i));
        SetItemText(dlg::IDC_FIRST_DIR + i, m_pSettings->GetTargetDir(i));
    }
}

void CTargetDirsDlg::SaveControls() {
    if (!m_pSettings)
        return;
    m_pSettings->SetHomeDirectory(ItemText(dlg::IDC_DIR_BASE));
    for (int i = 0; i < kTargetCount; ++i) {
        m_pSettings->SetTargetName(i, ItemText(dlg::IDC_FIRST_NAME + i));
        m_pSettings->SetTargetDir(i, ItemText(dlg::IDC_FIRST_DIR + i));
    }
}

void CTargetDirsDlg::SelectGroup(int nGroup) {
    SaveControls();
    if (m_pSettings)
        m_pSettings->SetSelectionSet(nGroup);
    LoadControls();
}

void CTargetDirsDlg::BrowseForDir(int nIndex, bool bChangeDir) {
    CSelectDir picker(this);
    picker.PrepareDirDialog(bChangeDir);
    if (picker.DoModal() == QDialog::Accepted)
        SetItemText(dlg::IDC_DIR_BASE + nIndex, picker.SelectedDir());
}

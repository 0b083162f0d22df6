#include "dialogs/CConfigDlg.h"

#include "resources/templates/ConfigTemplate.h"
#include "settings/CSettings.h"

CConfigDlg::CConfigDlg(QWidget* parent) : CTemplateDialog(dlg::ConfigTemplate(), parent) {
}

void CConfigDlg::DoDataExchange(bool bSaveAndValidate) {
    DDX_Check(bSaveAndValidate, dlg::IDC_RESIZE_TO_FIT, m_bResizeToFit);
    DDX_Radio(bSaveAndValidate, dlg::IDC_MOVE_FILE, m_nFileAction);
    DDX_Check(bSaveAndValidate, dlg::IDC_RECYCLE_BIN, m_bSendToRecycleBin);
    DDX_Check(bSaveAndValidate, dlg::IDC_MOVE_COMPANIONS, m_bMoveCompanions);
}

bool CConfigDlg::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    if (m_pSettings) {
        m_bResizeToFit = m_pSettings->GetFitPicToWindow();
        m_nFileAction = m_pSettings->GetMoveFiles() == 0 ? 1 : 0;
        m_bSendToRecycleBin = m_pSettings->GetUseRecyclingBin();
        m_bMoveCompanions = m_pSettings->GetMoveCompanionFiles() != 0;
        UpdateData(false);
    }
    return true;
}

void CConfigDlg::OnOK() {
    UpdateData(true);
    if (m_pSettings) {
        m_pSettings->SetFitPicToWindow(m_bResizeToFit);
        m_pSettings->SetMoveFiles(m_nFileAction == 0 ? 1 : 0);
        m_pSettings->SetUseRecyclingBin(m_bSendToRecycleBin);
        m_pSettings->SetMoveCompanionFiles(m_bMoveCompanions);
    }
    CTemplateDialog::OnOK();
}

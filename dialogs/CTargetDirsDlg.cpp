#include "dialogs/CTargetDirsDlg.h"

#include "dialogs/CDestinationCheck.h"
#include "dialogs/CSelectDir.h"
#include "resources/templates/TargetDirsTemplate.h"

#include <QCoreApplication>

CTargetDirsDlg::CTargetDirsDlg(QWidget* parent)
    : CTemplateDialog(dlg::TargetDirsTemplate(), parent) {
    // The home directory's Browse keeps the process in the chosen directory; the others don't.
    OnCommand(dlg::IDC_BROWSE_BASE, [this] { BrowseForDir(0); });
    for (int k = 1; k <= kTargetCount; ++k)
        OnCommand(dlg::IDC_BROWSE_BASE + k, [this, k] { BrowseForDir(k); });
    for (int n = 0; n < kTargetSetCount; ++n)
        OnCommand(dlg::IDC_GROUP_BASE + n, [this, n] { SelectGroup(n); });
}

bool CTargetDirsDlg::OnInitDialog() {
    CTemplateDialog::OnInitDialog();
    if (m_pSettings)
        m_work = *m_pSettings;
    LoadControls();
    if (m_pSettings)
        SetCheck(dlg::IDC_GROUP_BASE + CSettings::ClampSelectionSet(m_work.GetSelectionSet()),
                 true);
    return true;
}

// Nothing else of the settings can change while the dialog is open, so the copy replaces
// them whole.
void CTargetDirsDlg::OnOK() {
    SaveControls();
    CheckChangedFolders();
    if (m_pSettings)
        *m_pSettings = m_work;
    CTemplateDialog::OnOK();
}

void CTargetDirsDlg::LoadControls() {
    SetItemText(dlg::IDC_HOME_LABEL, QCoreApplication::translate("CTargetDirsDlg", "Home"));
    if (!m_pSettings)
        return;
    SetItemText(dlg::IDC_DIR_BASE, m_work.GetHomeDirectory());
    for (int i = 0; i < kTargetCount; ++i) {
        SetItemText(dlg::IDC_FIRST_NAME + i, m_work.GetTargetName(i));
        SetItemText(dlg::IDC_FIRST_DIR + i, m_work.GetTargetDir(i));
    }
}

void CTargetDirsDlg::SaveControls() {
    if (!m_pSettings)
        return;
    m_work.SetHomeDirectory(ItemText(dlg::IDC_DIR_BASE));
    for (int i = 0; i < kTargetCount; ++i) {
        m_work.SetTargetName(i, ItemText(dlg::IDC_FIRST_NAME + i));
        m_work.SetTargetDir(i, ItemText(dlg::IDC_FIRST_DIR + i));
    }
}

void CTargetDirsDlg::SelectGroup(int nGroup) {
    SaveControls();
    m_work.SetSelectionSet(nGroup);
    LoadControls();
}

// The picker opens on the folder the edit names (or the nearest one above it), else on the group's
// home folder as typed in the dialog; failing both, on the user's home folder.
void CTargetDirsDlg::BrowseForDir(int nIndex) {
    CSelectDir picker(this);
    picker.PrepareDirDialog();
    const QString own = ItemText(dlg::IDC_DIR_BASE + nIndex).trimmed();
    const QString home = ItemText(dlg::IDC_DIR_BASE).trimmed();
    if (!own.isEmpty())
        picker.SetStartDir(own);
    else if (!home.isEmpty())
        picker.SetStartDir(home);
    picker.SetTitle(QCoreApplication::translate("CTargetDirsDlg", "Choose the folder for %1")
                        .arg(Describe(m_work.GetSelectionSet(), nIndex,
                                      ItemText(dlg::IDC_FIRST_NAME + nIndex - 1))));
    if (picker.DoModal() == QDialog::Accepted)
        SetItemText(dlg::IDC_DIR_BASE + nIndex, picker.SelectedDir());
}

QString CTargetDirsDlg::Describe(int nSet, int nIndex, const QString& name) {
    if (nIndex == 0)
        return QCoreApplication::translate("CTargetDirsDlg", "the home of button group %1")
            .arg(nSet + 1);
    if (name.isEmpty() || name == kNoTargetName)
        return QCoreApplication::translate("CTargetDirsDlg", "destination %1").arg(nIndex);
    return QCoreApplication::translate("CTargetDirsDlg", "destination %1, %2")
        .arg(nIndex)
        .arg(name);
}

// Every folder typed or chosen anew, of every group, is looked at once, at OK.
void CTargetDirsDlg::CheckChangedFolders() {
    if (!m_pSettings)
        return;
    for (int n = 0; n < kTargetSetCount; ++n) {
        const CTargetSet& before = m_pSettings->TargetSet(n);
        const CTargetSet& after = m_work.TargetSet(n);
        if (after.m_strHomeDirectory != before.m_strHomeDirectory)
            CDestinationCheck::Confirm(this, after.m_strHomeDirectory, Describe(n, 0, QString()));
        for (int i = 0; i < kTargetCount; ++i)
            if (after.m_astrDirs[i] != before.m_astrDirs[i])
                CDestinationCheck::Confirm(this, after.m_astrDirs[i],
                                           Describe(n, i + 1, after.m_astrNames[i]));
    }
}

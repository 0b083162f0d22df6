#pragma once

#include "dialogs/CTemplateDialog.h"

#include "settings/CSettings.h"

// "Edit Destination Directories": the home directory and the twenty destination names and
// directories of one target set, chosen with the "Button Group" radio buttons. The dialog
// edits a copy of the settings: switching groups stores the edits of the set on show in
// the copy and shows the new group; OK looks at every folder changed (CDestinationCheck)
// and stores the whole copy (every group's edits, and the group shown last as the current
// one); Cancel leaves the settings exactly as they were.
class CTargetDirsDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CTargetDirsDlg(QWidget* parent = nullptr);
    void SetSettings(CSettings* pSettings) { m_pSettings = pSettings; }
    // The copy being edited.
    const CSettings& Working() const { return m_work; }

    // Fills the edits from the copy's current set, and stores them back into it; texts are
    // kept exactly as they stand.
    void LoadControls();
    void SaveControls();
    // Stores the set on show, makes set n (0 to 3) current and shows it.
    void SelectGroup(int nGroup);
    // Lets the user pick a directory for edit 1600 + nIndex (0 = home, 1 to 20 =
    // destination); only a confirmed choice replaces the edit's text.
    void BrowseForDir(int nIndex);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

    // How the user knows edit 1600 + nIndex of set nSet: "destination 3, Keep", or the home.
    static QString Describe(int nSet, int nIndex, const QString& name);

private:
    void CheckChangedFolders();

    CSettings* m_pSettings = nullptr;
    CSettings m_work; // what the dialog edits until OK
};

#pragma once

#include "dialogs/CTemplateDialog.h"

class CSettings;

// "Edit Destination Directories": the home directory and the twenty destination names and
// directories of one target set, chosen with the "Button Group" radio buttons. Works on
// the live settings: switching groups stores the edits of the set on show and makes the
// new group the current set; OK stores the set on show; Cancel drops only the edits made
// since the last switch.
class CTargetDirsDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CTargetDirsDlg(QWidget* parent = nullptr);
    void SetSettings(CSettings* pSettings) { m_pSettings = pSettings; }

    // Fills the edits from the current set, and stores them back into it; texts are kept
    // exactly as they stand.
    void LoadControls();
    void SaveControls();
    // Stores the set on show, makes set n (0 to 3) current and shows it.
    void SelectGroup(int nGroup);
    // Lets the user pick a directory for edit 1600 + nIndex (0 = home, 1 to 20 =
    // destination); only a confirmed choice replaces the edit's text.
    void BrowseForDir(int nIndex, bool bChangeDir);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CSettings* m_pSettings = nullptr;
};

#pragma once

#include "dialogs/CTemplateDialog.h"

class CSettings;

// "Program Configuration": whether a destination button moves or copies the picture,
// whether pictures are fitted to the view, whether deletion uses the trash, and whether a
// picture's companion files go with it. OK writes the switches into the live settings;
// Cancel leaves them alone.
class CConfigDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CConfigDlg(QWidget* parent = nullptr);
    void SetSettings(CSettings* pSettings) { m_pSettings = pSettings; }

protected:
    void DoDataExchange(bool bSaveAndValidate) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    int m_bResizeToFit = 0;
    int m_nFileAction = -1; // 0 = "Move File", 1 = "Copy File", -1 = neither checked
    int m_bSendToRecycleBin = 0;
    int m_bMoveCompanions = 0;
    CSettings* m_pSettings = nullptr;
};

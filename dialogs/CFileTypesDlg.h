#pragma once

#include "dialogs/CTemplateDialog.h"

class CSettings;

// "File Types Available": one check box per picture format and "*.* (All Files)". OK
// stores exactly the bits of the checked boxes in the live settings (so the AVI bit, which
// has no box, is dropped); Cancel changes nothing.
class CFileTypesDlg : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CFileTypesDlg(QWidget* parent = nullptr);
    void SetSettings(CSettings* pSettings) { m_pSettings = pSettings; }

    // "*.JPG (JFIF Compliant)" for format code 10.
    static QString FormatTypeLabel(int nFormatCode);
    // Enables or disables the format boxes; their check marks stay as they are.
    void EnableFormatBoxes(bool bEnable);

protected:
    void DoDataExchange(bool bSaveAndValidate) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void OnAllFiles();
    void SetExtensionsTip(int id, int bit);

    int m_bAllFiles = 0;
    CSettings* m_pSettings = nullptr;
};

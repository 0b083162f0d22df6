#pragma once

#include "dialogs/CTemplateDialog.h"

class QTreeWidget;

// "Select Directory": the user walks the folder list and the drive list to a directory
// and confirms it with OK. The picker opens in the process's current directory, centred
// on its owner. OK makes the directory on show the answer and, when asked to, the
// process's current directory; Cancel gives no answer and leaves the current directory
// alone.
class CSelectDir : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CSelectDir(QWidget* parent = nullptr);

    // Call before DoModal. With bChangeDir the process moves to the chosen directory at
    // OK; without it the process's current directory is never touched.
    void PrepareDirDialog(bool bChangeDir);

    // The directory confirmed with OK; empty after Cancel.
    QString SelectedDir() const { return m_strSelectedDir; }
    // The directory on show.
    QString CurrentDir() const { return m_strCurrentDir; }
    // Shows another directory; false (and nothing changes) when it cannot be listed.
    bool ChangeDir(const QString& path);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget* FolderList() const;
    void CenterWindow();
    void FillFolders();
    void FillDrives();
    void ShowCurrentDir();
    void OnDriveChosen(int index);

    QString m_strSelectedDir;
    QString m_szStartDir; // the process's current directory when the picker was prepared
    bool m_bChangeDir = false;
    QString m_strCurrentDir;
};

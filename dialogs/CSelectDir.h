#pragma once

#include "dialogs/CTemplateDialog.h"

class QLineEdit;
class QTreeWidget;

// "Select Directory": the user walks the folder list and the drive list to a directory,
// or types its path, and confirms it with OK. The picker opens on the folder it is given
// (the user's home folder when none), centred on its owner. OK makes the highlighted folder
// the answer; the process's current directory is never changed (a folder on a network share
// would make every relative look-up of the process a round trip to it). "New Folder" makes a folder
// in the highlighted one.
class CSelectDir : public CTemplateDialog {
    Q_OBJECT
public:
    explicit CSelectDir(QWidget* parent = nullptr);

    // Call before DoModal.
    void PrepareDirDialog();
    // The folder to open on (or the nearest one above it that can be listed).
    void SetStartDir(const QString& dir) { m_strStartAt = dir; }
    // The caption, which says what the folder is chosen for; "Select Directory" without one.
    void SetTitle(const QString& title) { m_strTitle = title; }

    // The directory confirmed with OK; empty after Cancel.
    QString SelectedDir() const { return m_strSelectedDir; }
    // The directory on show.
    QString CurrentDir() const { return m_strCurrentDir; }
    // The folder highlighted in the list: the one on show or one of its subfolders.
    QString HighlightedDir() const;
    // Makes a folder of this name in the highlighted one, shows that one and highlights the
    // new folder; false (with a message) when the name is no plain folder name or the folder
    // cannot be made.
    bool MakeFolder(const QString& name);
    // Shows another directory; false (and nothing changes) when it cannot be listed.
    bool ChangeDir(const QString& path);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QTreeWidget* FolderList() const;
    QLineEdit* PathEdit() const;
    bool PathTyped() const;
    bool GoToTypedPath();
    void OnNewFolder();
    void WidenForTitle();
    void CenterWindow();
    void FillFolders();
    void ScrollToCurrent();
    void FillDrives();
    void ShowCurrentDir();
    void OnDriveChosen(int index);

    QString m_strSelectedDir;
    QString m_strCurrentDir;
    QString m_strStartAt;
    QString m_strTitle;
};

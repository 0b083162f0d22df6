#pragma once

#include "browser/namespace/CNamespaceTreeView.h"
#include "sorting/widgets/CPictureFileList.h"

#include <QWidget>

// The file browser pane: the folder tree above the picture file list, 30 : 70. At start-up
// it wires the two together; then the main window has it walk the tree to the home folder
// (or to a folder or picture named on the command line), which fills the list.
class CFileActionHook;
class CNameLookup;
class CSortSession;

class CFileSelect : public QWidget {
    Q_OBJECT
public:
    // The list is a view on the session's pictures; the session must outlive the pane.
    explicit CFileSelect(CSortSession& session, QWidget* parent = nullptr);

    // Runs once after the main window has created all three panes.
    virtual void OnInitialUpdate();
    // Opens the folder or picture given on the command line, or else the home folder
    // (when there is one), once a worker found which it is. A folder or picture given takes
    // the keyboard into the list, with its first (or that) picture shown.
    void OpenStartupOrHome(const QString& startupPath, const QString& homeDirectory);
    // Where both panes' context-menu commands are recorded (the undo journal); not owned.
    void SetActionRecorder(CFileActionHook* recorder);

    CPictureFileList m_listFiles;     // control 1002
    CNamespaceTreeView m_treeFolders; // control 1001

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnSize(int cx, int cy);
    void OpenHome(const QString& homeDirectory);
    void OpenFolder(const QString& folder, const QString& name);

    CNameLookup* m_pLookup; // what the path given on the command line names
    QMetaObject::Connection m_walked;
};

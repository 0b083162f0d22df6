#pragma once

#include <QWidget>

class CButtonTabBar;
class CSettings;
class CTargetButton;
class QLabel;

// The destination button bar, the right-hand pane: Delete at the top, the twenty
// destination buttons of the current button group, Home at the bottom, all lying on the
// tab control whose four button-like tabs "1" to "4" choose the group. Everything shown is
// read from the settings each time; every click is announced by a signal, which the main
// window answers (and gives the keyboard focus back to the file list). Each button shows its
// key; a click on an unset one, its context menu and a folder dropped on it ask the main
// window to set the destination up. Above the buttons a small label tells whether pictures
// are moved or copied.
class CTarget : public QWidget {
    Q_OBJECT
public:
    explicit CTarget(QWidget* parent = nullptr);

    // The settings the buttons show and the tabs change; not owned. Without them the bar
    // shows nothing.
    void SetSettings(CSettings* settings) { m_pSettings = settings; }

    // Runs once after the main window has created all three panes, left to right.
    virtual void OnInitialUpdate();
    // Shows the current group: its tab, the captions, the tooltips, which destinations are
    // unset, and the move/copy mode.
    void UpdateButtons();

    CButtonTabBar* TabGroups() const { return m_tabGroups; }
    CTargetButton* TargetButton(int i) const;
    QLabel* ModeLabel() const { return m_labelMode; }
    // The short text a button shows for the key of destination i ("1", "^1").
    static QString KeyLabel(int i);

Q_SIGNALS:
    // Destination nTarget (0..19, or 20 for Home) or Delete was clicked.
    void SendToTarget(int nTarget);
    void DeletePicture();
    // Destination i (0..19) is to be set up: its folder chosen, renamed, opened, cleared, or
    // given the folder dropped on it.
    void SetFolderRequested(int i);
    void RenameRequested(int i);
    void OpenFolderRequested(int i);
    void ClearRequested(int i);
    void FolderDropped(int i, const QString& path);
    // The move/copy mode was clicked.
    void ModeClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void OnSize(int cx, int cy);

private:
    void OnSelchangeTabGroups(int index);
    void OnTarget(int i);
    void OnHome();
    void OnDelete();
    void ShowContextMenu(int i, const QPoint& globalPos);
    void UpdateTarget(int i);

    CButtonTabBar* m_tabGroups = nullptr;
    QLabel* m_labelMode = nullptr;
    CSettings* m_pSettings = nullptr;
};

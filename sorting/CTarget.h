#pragma once

#include <QWidget>

class CButtonTabBar;
class CSettings;

// The destination button bar, the right-hand pane: Delete at the top, the twenty
// destination buttons of the current button group, Home at the bottom, all lying on the
// tab control whose four button-like tabs "1" to "4" choose the group. Everything shown is
// read from the settings each time; every click is announced by a signal, which the main
// window answers (and gives the keyboard focus back to the file list).
class CTarget : public QWidget {
    Q_OBJECT
public:
    explicit CTarget(QWidget* parent = nullptr);

    // The settings the buttons show and the tabs change; not owned. Without them the bar
    // shows nothing.
    void SetSettings(CSettings* settings) { m_pSettings = settings; }

    // Runs once after the main window has created all three panes, left to right.
    virtual void OnInitialUpdate();
    // Shows the current group: its tab, the captions and which buttons can be clicked.
    void UpdateButtons();

    CButtonTabBar* TabGroups() const { return m_tabGroups; }

Q_SIGNALS:
    // Destination nTarget (0..19, or 20 for Home) or Delete was clicked.
    void SendToTarget(int nTarget);
    void DeletePicture();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void OnSize(int cx, int cy);

private:
    void OnSelchangeTabGroups(int index);
    void OnTarget(int i);
    void OnHome();
    void OnDelete();

    CButtonTabBar* m_tabGroups = nullptr;
    CSettings* m_pSettings = nullptr;
};

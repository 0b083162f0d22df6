#pragma once

#include <QString>
#include <QWidget>

class CSettings;

// What the main window offers its panes. The panes find it as an ancestor, the way the
// old framework let them reach the application's main window; tests host a pane in a
// small window of their own that implements this.
class CFrameServices {
public:
    virtual ~CFrameServices() = default;

    virtual CSettings& Settings() = 0; // the one settings object of the run

    // Name (which == 1) or directory (any other value) of destination i of the current set.
    virtual QString GetTargetString(int i, int which) const = 0;
    virtual QString GetHomeDirectory() const = 0;
    virtual int GetFitPicToWindow() const = 0;
    virtual void RebuildExtensionList() = 0;
    virtual void OnSendToTarget(int nTarget) = 0; // 0..19, or 20 for the home directory
    virtual void OnDeletePicture() = 0;

    // Status bar panes: 0 is the message pane ("Ready"), 1 the file count.
    virtual void SetStatusPaneText(int pane, const QString& text) = 0;
    virtual QString StatusPaneText(int pane) const = 0;
    // The document title shown before " - Vantrel" in the caption.
    virtual void SetDocumentTitle(const QString& title) = 0;
    virtual QString DocumentTitle() const = 0;

    // A folder or picture named on the command line, empty when none was.
    virtual QString StartupPath() const = 0;
    // Gives the keyboard focus back to the file list.
    virtual void FocusFileList() = 0;

    // The frame services of the window that holds w, or null.
    static CFrameServices* Of(const QWidget* w) {
        for (const QWidget* p = w; p; p = p->parentWidget())
            if (auto* f = dynamic_cast<CFrameServices*>(const_cast<QWidget*>(p)))
                return f;
        return nullptr;
    }
};

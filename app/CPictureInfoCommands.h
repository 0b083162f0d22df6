#pragma once

#include <QObject>

class CPictureFileList;
class CPictureInfoPanel;
class CSettings;
class QAction;
class QDockWidget;
class QMainWindow;

// View > Picture Information (I): the information panel docked at the window's right edge,
// shown or hidden by the command and remembered in the settings, and kept on the current
// picture as the person steps. A hidden panel reads nothing.
class CPictureInfoCommands : public QObject {
    Q_OBJECT
public:
    CPictureInfoCommands(QMainWindow& window, QAction& toggle, CSettings& settings,
                         CPictureFileList& list);

    CPictureInfoPanel* Panel() const { return m_panel; }
    QDockWidget* Dock() const { return m_dock; }

private:
    void SetShown(bool shown);
    void Follow();

    QAction& m_toggle;
    CSettings& m_settings;
    CPictureFileList& m_list;
    QDockWidget* m_dock = nullptr;
    CPictureInfoPanel* m_panel = nullptr;
};

#pragma once

#include <QObject>

class CMainFrame;

// What the main window shows is what it showed when it was last left: maximised or not,
// the file browser pane as wide as it was dragged, the folder last listed. The window's
// settings keep them (and write each change at once); this object tells them the changes
// and, made before the window is first shown, puts the window back as it was.
class CWindowMemory : public QObject {
    Q_OBJECT
public:
    explicit CWindowMemory(CMainFrame& frame);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RecordFolder();

    CMainFrame& m_frame;
};

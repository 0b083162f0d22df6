#pragma once

#include <QObject>

class CFileSelect;
class CPicSplitter;
class CSettings;
class QWidget;

// What the window shows is what it showed when it was last left: maximised or not,
// the file browser pane as wide as it was dragged, the folder last listed. The window's
// settings keep them (and write each change at once); this object tells them the changes
// and, made before the window is first shown, puts the window back as it was.
class CWindowMemory : public QObject {
    Q_OBJECT
public:
    CWindowMemory(QWidget& window, CSettings& settings, CPicSplitter& splitter,
                  CFileSelect& browser);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RecordFolder();

    QWidget& m_window;
    CSettings& m_settings;
    CPicSplitter& m_splitter;
    CFileSelect& m_browser;
};

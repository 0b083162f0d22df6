#pragma once

#include <QDialog>

// The About box: icon, name and version, a notice line and the machine's physical memory.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // "%lu KB" with the physical memory in whole kilobytes.
    static QString MemoryText(unsigned long long bytes);
};

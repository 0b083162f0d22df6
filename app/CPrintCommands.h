#pragma once

#include <QObject>
#include <memory>

class CImageCtrl;
class QPrinter;
class QWidget;

// Print Setup and Print, over one printer kept for the whole run: Print Setup's choice stays
// for the next Print. Print sends the picture the imaging control shows, at its printed size.
class CPrintCommands : public QObject {
    Q_OBJECT
public:
    // The dialogs stand over `window`; the control is the one that draws the picture.
    CPrintCommands(CImageCtrl& ctrl, QWidget& window);
    ~CPrintCommands() override;

    QPrinter* Printer() const { return m_printer.get(); }
    void OnPrintPicture();
    void OnFilePrintSetup();

Q_SIGNALS:
    // A command's dialog closed: the keys go back to the picture list.
    void Done();

private:
    bool PrinterReady();

    CImageCtrl& m_ctrl;
    QWidget& m_window;
    std::unique_ptr<QPrinter> m_printer;
};

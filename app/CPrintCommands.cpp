#include "app/CPrintCommands.h"

#include "app/PrintLayout.h"
#include "dialogs/CPrintSetupDlg.h"
#include "picture/view/CImageCtrl.h"
#include "platform/ui/CWaitCursor.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

CPrintCommands::CPrintCommands(CImageCtrl& ctrl, QWidget& window)
    : QObject(&window), m_ctrl(ctrl), m_window(window),
      m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    m_ctrl.SetPrinter(m_printer.get());
}

CPrintCommands::~CPrintCommands() = default;

// True when Print can go straight to a printer: one the system knows, or a file that
// Print Setup chose. With neither, the print dialog lets the user print to a PDF file.
bool CPrintCommands::PrinterReady() {
    if (!m_printer->outputFileName().isEmpty())
        return true;
    if (!QPrinterInfo::availablePrinters().isEmpty())
        return true;
    // Never offer a file in the folder being sorted (the current folder).
    m_printer->setOutputFileName(CPrintSetupDlg::DefaultOutputFile(QStringLiteral("print")));
    QPrintDialog dlg(m_printer.get(), &m_window);
    if (dlg.exec() == QDialog::Accepted)
        return true;
    m_printer->setOutputFileName(QString()); // asked again at the next Print
    return false;
}

void CPrintCommands::OnPrintPicture() {
    if (!m_ctrl.HasPicture() || !PrinterReady())
        return;
    if (CWaitCursor wait; !m_ctrl.CompleteFigures())
        return; // the view says why
    const QSizeF size = print_layout::FrameSize(m_ctrl.PrintWidth(), m_ctrl.PrintHeight());
    const long handle = m_ctrl.BeginPrint();
    m_ctrl.RenderToDevice(handle, m_ctrl.PrintLeft(), m_ctrl.PrintTop(), float(size.width()),
                          float(size.height()));
    m_ctrl.EndPrint(handle);
}

void CPrintCommands::OnFilePrintSetup() {
    CPrintSetupDlg::Run(m_printer.get(), &m_window); // the choice stays for the next Print
    Q_EMIT Done();
}

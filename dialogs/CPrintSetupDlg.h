#pragma once

#include <QPrintDialog>

// Print Setup: the printer, its paper and whether to print to a file are chosen here and
// kept in the shared printer for the next Print; nothing is printed, so the button that
// confirms says OK. A file to print to is offered in the user's documents folder, never in
// the process's current folder, which the dialog would offer.
class CPrintSetupDlg : public QPrintDialog {
    Q_OBJECT
public:
    explicit CPrintSetupDlg(QPrinter* printer, QWidget* parent = nullptr);

    // Shows the dialog for the shared printer; QDialog::Accepted when its OK was pressed.
    static int Run(QPrinter* printer, QWidget* parent);
    int exec() override;

    // The file offered for printing to a file: "<documents>/<name>.pdf", or in the home
    // folder where there is no documents folder.
    static QString DefaultOutputFile(const QString& documentName);
};

#include "dialogs/CPrintSetupDlg.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>

CPrintSetupDlg::CPrintSetupDlg(QPrinter* printer, QWidget* parent) : QPrintDialog(printer, parent) {
    setWindowTitle(tr("Print Setup"));
    // Pages and copies belong to printing, not to setting the printer up.
    setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
}

int CPrintSetupDlg::Run(QPrinter* printer, QWidget* parent) {
    CPrintSetupDlg dlg(printer, parent);
    return dlg.exec();
}

int CPrintSetupDlg::exec() {
    // The dialog's own buttons and fields are set up as it first shows.
    QMetaObject::invokeMethod(
        this,
        [this] {
            for (auto* box : findChildren<QDialogButtonBox*>())
                if (QPushButton* ok = box->button(QDialogButtonBox::Ok))
                    ok->setText(tr("OK"));
            // The dialog's own offer lies in the process's current folder; a file chosen
            // before stays, and a folder alone is no file to print to.
            auto* file = findChild<QLineEdit*>(QStringLiteral("filename"));
            if (file && (printer()->outputFileName().isEmpty() || file->text().isEmpty() ||
                         file->text().endsWith(QLatin1Char('/'))))
                file->setText(DefaultOutputFile(QStringLiteral("print")));
        },
        Qt::QueuedConnection);
    return QPrintDialog::exec();
}

QString CPrintSetupDlg::DefaultOutputFile(const QString& documentName) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty() || !QFileInfo(dir).isDir())
        dir = QDir::homePath();
    return QDir(dir).filePath(documentName + QStringLiteral(".pdf"));
}

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
    // The dialog works out the file it offers from the current folder, which is the one
    // being sorted, while it is made.
    const QString before = QDir::currentPath();
    QDir::setCurrent(QFileInfo(DefaultOutputFile(QStringLiteral("print"))).path());
    int result = QDialog::Rejected;
    {
        CPrintSetupDlg dlg(printer, parent);
        result = dlg.exec();
    }
    QDir::setCurrent(before);
    return result;
}

int CPrintSetupDlg::exec() {
    // The dialog's own buttons and fields are set up as it first shows.
    QMetaObject::invokeMethod(
        this,
        [this] {
            for (auto* box : findChildren<QDialogButtonBox*>())
                if (QPushButton* ok = box->button(QDialogButtonBox::Ok))
                    ok->setText(tr("OK"));
            // A folder alone is no file to print to: name one.
            auto* file = findChild<QLineEdit*>(QStringLiteral("filename"));
            if (file && (file->text().isEmpty() || file->text().endsWith(QLatin1Char('/'))))
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

#include "platform/ui/CFileOpDialogs.h"

#include "platform/files/CFileJob.h"
#include "platform/system/CNativePath.h"
#include "platform/system/LocaleFormat.h"
#include "resources/StringTable.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLocale>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr int kSteps = 1000; // the progress bar's range; byte counts do not fit an int
constexpr int kPollMs = 25;
} // namespace

CFileOpUi::ConflictChoice CFileOpDialogs::AskConflict(const CFileFacts& incoming,
                                                      const CFileFacts& existing) {
    QMessageBox box(QMessageBox::Question, strings::Load(strings::IDS_APP_TITLE),
                    QCoreApplication::translate("CFileOpDialogs",
                                                "There is already a file named \"%1\" in \"%2\".")
                        .arg(CNativePath::Display(CNativePath::FileName(existing.path)),
                             CNativePath::Display(CNativePath::DirName(existing.path))),
                    QMessageBox::NoButton, m_parent);
    box.setInformativeText(
        QCoreApplication::translate("CFileOpDialogs", "The file there: %1\nThe new one: %2")
            .arg(Describe(existing), Describe(incoming)));
    QPushButton* replace = box.addButton(QCoreApplication::translate("CFileOpDialogs", "Replace"),
                                         QMessageBox::AcceptRole);
    QPushButton* keepBoth = box.addButton(
        QCoreApplication::translate("CFileOpDialogs", "Keep both"), QMessageBox::AcceptRole);
    QPushButton* skip = box.addButton(QCoreApplication::translate("CFileOpDialogs", "Skip"),
                                      QMessageBox::RejectRole);
    box.setDefaultButton(skip);
    box.setEscapeButton(skip);
    if (m_bOfferAll)
        box.setCheckBox(
            new QCheckBox(QCoreApplication::translate(
                              "CFileOpDialogs", "Do the same for every conflict of this action"),
                          &box));
    box.exec();
    m_bAppliedAll = box.checkBox() && box.checkBox()->isChecked();
    if (box.clickedButton() == replace)
        return ConflictChoice::Replace;
    if (box.clickedButton() == keepBoth)
        return ConflictChoice::KeepBoth;
    return ConflictChoice::Skip;
}

QString CFileOpDialogs::Describe(const CFileFacts& facts) {
    const QLocale locale = locale_format::Current();
    return QCoreApplication::translate("CFileOpDialogs", "%1, modified %2")
        .arg(locale.formattedDataSize(facts.size),
             locale.toString(facts.modified, QLocale::ShortFormat));
}

// Keeps the window alive while the job runs. Until the progress dialog shows, input is held
// back so that nothing else can start meanwhile; once it shows, it is modal and takes it.
void CFileOpDialogs::WaitFor(CFileJob& job, const QString& text) {
    QProgressDialog progress(text, QCoreApplication::translate("CFileOpDialogs", "Cancel"), 0,
                             kSteps, m_parent);
    progress.setWindowTitle(strings::Load(strings::IDS_APP_TITLE));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(kShowAfterMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);
    QTimer tick;
    tick.start(kPollMs);
    QEventLoop loop;
    while (!job.Finished()) {
        const auto input =
            progress.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
        loop.processEvents(input | QEventLoop::WaitForMoreEvents);
        if (progress.wasCanceled())
            job.Cancel();
        else if (const qint64 total = job.Total(); total > 0)
            progress.setValue(static_cast<int>(job.Done() * kSteps / total));
    }
}

void CFileOpDialogs::ReportError(const QString& message) {
    QMessageBox::warning(m_parent, strings::Load(strings::IDS_APP_TITLE), message);
}

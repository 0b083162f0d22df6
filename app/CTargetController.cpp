#include "app/CTargetController.h"

#include "app/CMainFrame.h"
#include "dialogs/CDestinationCheck.h"
#include "dialogs/CSelectDir.h"
#include "platform/ui/ShowMessage.h"
#include "resources/StringTable.h"
#include "settings/CSettings.h"
#include "sorting/widgets/CTarget.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

CTargetController::CTargetController(CMainFrame& frame)
    : QObject(&frame), m_openUrl(&QDesktopServices::openUrl), m_frame(frame) {
    CTarget* target = frame.TargetPane();
    connect(target, &CTarget::SetFolderRequested, this, &CTargetController::SetFolder);
    connect(target, &CTarget::RenameRequested, this, &CTargetController::Rename);
    connect(target, &CTarget::OpenFolderRequested, this, &CTargetController::OpenFolder);
    connect(target, &CTarget::ClearRequested, this, &CTargetController::Clear);
    connect(target, &CTarget::FolderDropped, this, &CTargetController::UseFolder);
}

bool CTargetController::KeysAllowed() const {
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return false;
    // An in-place edit of a tree or list item is a line edit with the focus.
    QWidget* focus = QApplication::focusWidget();
    return !(qobject_cast<QLineEdit*>(focus) || qobject_cast<QTextEdit*>(focus) ||
             qobject_cast<QPlainTextEdit*>(focus) || qobject_cast<QAbstractSpinBox*>(focus));
}

void CTargetController::OnTargetKey(int i) {
    if (!KeysAllowed())
        return;
    if (m_frame.GetTargetString(i, 0).isEmpty()) {
        m_frame.SetStatusPaneText(0, strings::Load(strings::IDS_TARGET_UNSET).arg(i + 1));
        return;
    }
    Q_EMIT m_frame.TargetPane()->SendToTarget(i);
}

QString CTargetController::NameForFolder(const QString& name, const QString& oldDir,
                                         const QString& newDir) {
    const auto baseName = [](const QString& dir) {
        const QString clean = QDir::cleanPath(QDir::fromNativeSeparators(dir));
        const QString base = QFileInfo(clean).fileName();
        return base.isEmpty() ? QDir::toNativeSeparators(clean) : base;
    };
    const bool own =
        !name.isEmpty() && name != kNoTargetName && (oldDir.isEmpty() || name != baseName(oldDir));
    return own ? name : baseName(newDir);
}

QString CTargetController::Describe(int i) const {
    const QString name = m_frame.GetTargetString(i, 1);
    if (name.isEmpty() || name == kNoTargetName)
        return QCoreApplication::translate("CTargetController", "destination %1").arg(i + 1);
    return QCoreApplication::translate("CTargetController", "destination %1, %2")
        .arg(i + 1)
        .arg(name);
}

void CTargetController::SetFolder(int i) {
    CSelectDir picker(&m_frame);
    picker.PrepareDirDialog(false);
    const QString own = m_frame.GetTargetString(i, 0);
    picker.SetStartDir(own.isEmpty() ? m_frame.GetHomeDirectory() : own);
    picker.SetTitle(QCoreApplication::translate("CTargetController", "Choose the folder for %1")
                        .arg(Describe(i)));
    if (picker.DoModal() == QDialog::Accepted && !picker.SelectedDir().isEmpty())
        UseFolder(i, picker.SelectedDir());
    else
        m_frame.FocusFileList();
}

void CTargetController::UseFolder(int i, const QString& path) {
    CSettings& settings = m_frame.Settings();
    CDestinationCheck::Confirm(&m_frame, path, Describe(i)); // kept either way
    settings.SetTargetName(
        i, NameForFolder(settings.GetTargetName(i), settings.GetTargetDir(i), path));
    settings.SetTargetDir(i, path);
    Refresh();
}

void CTargetController::Rename(int i) {
    CSettings& settings = m_frame.Settings();
    QString name = settings.GetTargetName(i);
    if (name == kNoTargetName)
        name.clear();
    bool ok = false;
    name = QInputDialog::getText(
        &m_frame, QCoreApplication::translate("CTargetController", "Rename Destination"),
        QCoreApplication::translate("CTargetController", "Name of destination %1:").arg(i + 1),
        QLineEdit::Normal, name, &ok);
    if (ok)
        settings.SetTargetName(i, name.isEmpty() ? kNoTargetName : name);
    Refresh();
}

void CTargetController::OpenFolder(int i) {
    const QString dir = m_frame.GetTargetString(i, 0);
    if (dir.isEmpty())
        return;
    if (!QFileInfo(dir).isDir())
        ShowMessage(&m_frame, QCoreApplication::translate("CTargetController",
                                                          "The folder %1 does not exist.")
                                  .arg(dir));
    else if (!m_openUrl(QUrl::fromLocalFile(QDir::fromNativeSeparators(dir))))
        ShowMessage(&m_frame, QCoreApplication::translate("CTargetController",
                                                          "No file manager could open %1.")
                                  .arg(dir));
}

void CTargetController::Clear(int i) {
    CSettings& settings = m_frame.Settings();
    settings.SetTargetDir(i, QString());
    settings.SetTargetName(i, kNoTargetName);
    Refresh();
}

void CTargetController::Refresh() {
    m_frame.TargetPane()->UpdateButtons();
    m_frame.FocusFileList();
}

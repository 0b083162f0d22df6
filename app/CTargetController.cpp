#include "app/CTargetController.h"

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

CTargetController::CTargetController(CTarget& bar, CSettings& settings, QWidget& window)
    : QObject(&window), m_openUrl(&QDesktopServices::openUrl), m_bar(bar), m_settings(settings),
      m_window(window) {
    CTarget* target = &bar;
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
    if (m_settings.GetTargetDir(i).isEmpty()) {
        Q_EMIT StatusMessage(strings::Load(strings::IDS_TARGET_UNSET).arg(i + 1));
        return;
    }
    Q_EMIT m_bar.SendToTarget(i);
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
    const QString name = m_settings.GetTargetName(i);
    if (name.isEmpty() || name == kNoTargetName)
        return QCoreApplication::translate("CTargetController", "destination %1").arg(i + 1);
    return QCoreApplication::translate("CTargetController", "destination %1, %2")
        .arg(i + 1)
        .arg(name);
}

void CTargetController::SetFolder(int i) {
    CSelectDir picker(&m_window);
    picker.PrepareDirDialog();
    const QString own = m_settings.GetTargetDir(i);
    picker.SetStartDir(own.isEmpty() ? m_settings.GetHomeDirectory() : own);
    picker.SetTitle(QCoreApplication::translate("CTargetController", "Choose the folder for %1")
                        .arg(Describe(i)));
    if (picker.DoModal() == QDialog::Accepted && !picker.SelectedDir().isEmpty())
        UseFolder(i, picker.SelectedDir());
    else
        Q_EMIT Done();
}

void CTargetController::UseFolder(int i, const QString& path) {
    CSettings& settings = m_settings;
    CDestinationCheck::Confirm(&m_window, path, Describe(i)); // kept either way
    settings.SetTargetName(
        i, NameForFolder(settings.GetTargetName(i), settings.GetTargetDir(i), path));
    settings.SetTargetDir(i, path);
    Refresh();
}

void CTargetController::Rename(int i) {
    CSettings& settings = m_settings;
    QString name = settings.GetTargetName(i);
    if (name == kNoTargetName)
        name.clear();
    bool ok = false;
    name = QInputDialog::getText(
        &m_window, QCoreApplication::translate("CTargetController", "Rename Destination"),
        QCoreApplication::translate("CTargetController", "Name of destination %1:").arg(i + 1),
        QLineEdit::Normal, name, &ok);
    if (ok)
        settings.SetTargetName(i, name.isEmpty() ? kNoTargetName : name);
    Refresh();
}

void CTargetController::OpenFolder(int i) {
    const QString dir = m_settings.GetTargetDir(i);
    if (dir.isEmpty())
        return;
    if (!QFileInfo(dir).isDir())
        ShowMessage(&m_window, QCoreApplication::translate("CTargetController",
                                                           "The folder %1 does not exist.")
                                   .arg(dir));
    else if (!m_openUrl(QUrl::fromLocalFile(QDir::fromNativeSeparators(dir))))
        ShowMessage(&m_window, QCoreApplication::translate("CTargetController",
                                                           "No file manager could open %1.")
                                   .arg(dir));
}

void CTargetController::Clear(int i) {
    CSettings& settings = m_settings;
    settings.SetTargetDir(i, QString());
    settings.SetTargetName(i, kNoTargetName);
    Refresh();
}

void CTargetController::Refresh() {
    m_bar.UpdateButtons();
    Q_EMIT Done();
}

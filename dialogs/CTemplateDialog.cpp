#include "dialogs/CTemplateDialog.h"

#include <QAbstractButton>
#include <QButtonGroup>

CTemplateDialog::CTemplateDialog(const dlg::Template& t, QWidget* parent,
                                 const CDialogBuilder::Factory& factory)
    : QDialog(parent) {
    CDialogBuilder::Build(this, t, factory);
    setFixedSize(size());
    OnCommand(1, [this] { OnOK(); });
    OnCommand(2, [this] { OnCancel(); });
}

void CTemplateDialog::setVisible(bool visible) {
    if (visible && !isVisible() && OnInitDialog())
        FocusFirstTabStop();
    QDialog::setVisible(visible);
}

void CTemplateDialog::reject() {
    OnCancel();
}

bool CTemplateDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CTemplateDialog::OnOK() {
    UpdateData(true);
    accept();
}

void CTemplateDialog::OnCancel() {
    QDialog::reject();
}

void CTemplateDialog::DoDataExchange(bool) {
}

bool CTemplateDialog::IsChecked(int id) const {
    auto* b = qobject_cast<QAbstractButton*>(Item(id));
    return b && b->isChecked();
}

void CTemplateDialog::SetCheck(int id, bool bCheck) {
    if (auto* b = qobject_cast<QAbstractButton*>(Item(id)))
        b->setChecked(bCheck);
}

void CTemplateDialog::OnCommand(int id, std::function<void()> handler) {
    if (auto* b = qobject_cast<QAbstractButton*>(Item(id)))
        connect(b, &QAbstractButton::clicked, this, [handler = std::move(handler)] { handler(); });
}

void CTemplateDialog::DDX_Check(bool bSaveAndValidate, int id, int& value) {
    if (bSaveAndValidate)
        value = IsChecked(id) ? 1 : 0;
    else
        SetCheck(id, value != 0);
}

void CTemplateDialog::DDX_Radio(bool bSaveAndValidate, int firstId, int& value) {
    auto* first = qobject_cast<QAbstractButton*>(Item(firstId));
    QButtonGroup* group = first ? first->group() : nullptr;
    if (!group)
        return;
    const QList<QAbstractButton*> buttons = group->buttons();
    if (bSaveAndValidate) {
        value = static_cast<int>(buttons.indexOf(group->checkedButton()));
        return;
    }
    if (value >= 0 && value < buttons.size()) {
        buttons[value]->setChecked(true);
        return;
    }
    // No button checked: an exclusive group refuses to uncheck its last button.
    group->setExclusive(false);
    for (QAbstractButton* b : buttons)
        b->setChecked(false);
    group->setExclusive(true);
}

void CTemplateDialog::FocusFirstTabStop() {
    for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (isAncestorOf(w) && w->isEnabled() && !w->isHidden() &&
            (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

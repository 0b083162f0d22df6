#pragma once

#include "platform/ui/CDialogBuilder.h"

#include <QDialog>
#include <functional>

// A modal dialog built from its template, with the life of a classic dialog: OnInitDialog
// runs each time the dialog is about to show, the OK button (id 1) runs OnOK, and Cancel
// (id 2), Escape and the close box run OnCancel. Data exchange between controls and
// members goes through DoDataExchange, which UpdateData calls in either direction.
class CTemplateDialog : public QDialog {
    Q_OBJECT
public:
    CTemplateDialog(const dlg::Template& t, QWidget* parent,
                    const CDialogBuilder::Factory& factory = {});

    // Runs the dialog's own event loop; QDialog::Accepted after OK, Rejected otherwise.
    int DoModal() { return exec(); }

    void setVisible(bool visible) override;
    void reject() override;

protected:
    // Loads the controls from the members; true gives the focus to the first tab stop.
    virtual bool OnInitDialog();
    // Reads the controls into the members and ends the dialog with Accepted.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(bool bSaveAndValidate);
    void UpdateData(bool bSaveAndValidate) { DoDataExchange(bSaveAndValidate); }

    QWidget* Item(int id) const { return CDialogBuilder::Control(this, id); }
    QString ItemText(int id) const { return CDialogBuilder::Text(this, id); }
    void SetItemText(int id, const QString& text) { CDialogBuilder::SetText(this, id, text); }
    bool IsChecked(int id) const;
    void SetCheck(int id, bool bCheck);
    // Runs handler whenever the button with this id is clicked.
    void OnCommand(int id, std::function<void()> handler);

    // A check box and an int used as a truth value (0 or 1 when read from the box).
    void DDX_Check(bool bSaveAndValidate, int id, int& value);
    // A radio group that starts at firstId and the index of its checked button, -1 for none.
    void DDX_Radio(bool bSaveAndValidate, int firstId, int& value);

private:
    void FocusFirstTabStop();
};

#pragma once

#include <QDialog>

class QTreeWidget;

// "Keyboard Shortcuts": every key of the program and what it does, read from the command
// and accelerator tables, in a plain two-column list with a Close button.
class CKeyboardDlg : public QDialog {
    Q_OBJECT
public:
    explicit CKeyboardDlg(QWidget* parent = nullptr);

    QTreeWidget* List() const { return m_list; }

private:
    QTreeWidget* m_list;
};

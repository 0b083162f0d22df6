#pragma once

#include <QDialog>

class QDialogButtonBox;
class QTreeWidget;

// "Keyboard Shortcuts": every key of the program and what it does, read from the command
// and accelerator tables, in a plain two-column list with a Close button, sized to show
// every row whole where the screen has room.
class CKeyboardDlg : public QDialog {
    Q_OBJECT
public:
    explicit CKeyboardDlg(QWidget* parent = nullptr);

    QTreeWidget* List() const { return m_list; }
    // The size that shows every row and column whole, bounded by the screen.
    QSize FittingSize() const;

private:
    QTreeWidget* m_list;
    QDialogButtonBox* m_buttons = nullptr;
};

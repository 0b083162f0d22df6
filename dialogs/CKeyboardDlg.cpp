#include "dialogs/CKeyboardDlg.h"

#include "resources/ShortcutList.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

CKeyboardDlg::CKeyboardDlg(QWidget* parent) : QDialog(parent), m_list(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("CKeyboardDlg"));
    setWindowTitle(QCoreApplication::translate("CKeyboardDlg", "Keyboard Shortcuts"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QCoreApplication::translate("CKeyboardDlg", "Keys"),
                             QCoreApplication::translate("CKeyboardDlg", "Action")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    for (const commands::ShortcutRow& row : commands::ShortcutRows())
        new QTreeWidgetItem(m_list, {row.keys, row.what});
    m_list->resizeColumnToContents(0);
    m_list->header()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    const int width = m_list->columnWidth(0) + m_list->fontMetrics().averageCharWidth() * 60;
    resize(width, m_list->fontMetrics().height() * 30);
    m_list->setFocus();
}

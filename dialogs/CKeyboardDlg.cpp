#include "dialogs/CKeyboardDlg.h"

#include "resources/ShortcutList.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
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
    // Both columns as wide as their longest text: nothing is cut short with "...".
    m_list->header()->setStretchLastSection(false);
    m_list->resizeColumnToContents(0);
    m_list->resizeColumnToContents(1);
    m_list->setTextElideMode(Qt::ElideNone);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(m_buttons);
    resize(FittingSize());
    m_list->setFocus();
}

// Every row and both columns whole, as far as the screen has room; a screen too small
// scrolls the list.
QSize CKeyboardDlg::FittingSize() const {
    const int frame = 2 * m_list->frameWidth();
    const int rows = m_list->topLevelItemCount();
    const int rowHeight = rows > 0 ? m_list->sizeHintForRow(0) : 0;
    const QSize list(m_list->columnWidth(0) + m_list->columnWidth(1) + frame +
                         m_list->verticalScrollBar()->sizeHint().width(),
                     m_list->header()->sizeHint().height() + rows * rowHeight + frame);
    const QMargins margins = layout()->contentsMargins();
    QSize wanted(list.width() + margins.left() + margins.right(),
                 list.height() + layout()->spacing() + m_buttons->sizeHint().height() +
                     margins.top() + margins.bottom());
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    if (screen) {
        const QSize room = screen->availableGeometry().size() - QSize(32, 64); // its frame
        wanted = wanted.boundedTo(room);
    }
    return wanted;
}

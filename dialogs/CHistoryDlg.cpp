#include "dialogs/CHistoryDlg.h"

#include "platform/system/CNativePath.h"
#include "platform/system/LocaleFormat.h"
#include "sorting/journal/CUndoHistory.h"
#include "sorting/journal/UndoTexts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kSeqRole = Qt::UserRole;

QString Destination(const SortRecord& r) {
    switch (r.kind) {
    case CFileAction::Kind::Move:
    case CFileAction::Kind::Copy:
    case CFileAction::Kind::Rename:
        return CNativePath::Display(r.dest);
    case CFileAction::Kind::Trash:
        return QCoreApplication::translate("CHistoryDlg", "Trash");
    case CFileAction::Kind::Delete:
        break;
    }
    return {};
}
} // namespace

CHistoryDlg::CHistoryDlg(const CUndoHistory& history, QWidget* parent)
    : QDialog(parent), m_history(history) {
    setObjectName(QStringLiteral("CHistoryDlg"));
    setWindowTitle(QCoreApplication::translate("CHistoryDlg", "History"));
    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels({QCoreApplication::translate("CHistoryDlg", "Time"),
                             QCoreApplication::translate("CHistoryDlg", "Action"),
                             QCoreApplication::translate("CHistoryDlg", "File"),
                             QCoreApplication::translate("CHistoryDlg", "Destination"),
                             QCoreApplication::translate("CHistoryDlg", "State")});
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_undo = buttons->addButton(QCoreApplication::translate("CHistoryDlg", "&Undo up to here"),
                                QDialogButtonBox::ActionRole);
    m_skip = buttons->addButton(QCoreApplication::translate("CHistoryDlg", "&Skip"),
                                QDialogButtonBox::ActionRole);
    m_skip->setToolTip(QCoreApplication::translate(
        "CHistoryDlg", "Leave this action as it is, so that the older ones can "
                       "be undone"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_undo, &QPushButton::clicked, this, [this] {
        if (const quint64 seq = ChosenSeq())
            Q_EMIT UndoUpToRequested(seq);
    });
    connect(m_skip, &QPushButton::clicked, this, [this] {
        if (const quint64 seq = ChosenSeq())
            Q_EMIT SkipRequested(seq);
    });
    connect(m_list, &QTreeWidget::currentItemChanged, this, &CHistoryDlg::UpdateButtons);
    m_damage = new QLabel(this);
    m_damage->setWordWrap(true);
    m_damage->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_damage);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(720, 420);
}

quint64 CHistoryDlg::ChosenSeq() const {
    const QTreeWidgetItem* item = m_list->currentItem();
    return item ? item->data(0, kSeqRole).toULongLong() : 0;
}

void CHistoryDlg::Fill() {
    const quint64 chosen = ChosenSeq();
    m_list->clear();
    const QList<SortRecord>& records = m_history.Records();
    const qsizetype first = qMax<qsizetype>(0, records.size() - kShown);
    QTreeWidgetItem* current = nullptr;
    for (qsizetype i = records.size() - 1; i >= first; --i) {
        const SortRecord& r = records[i];
        const QString file =
            r.entries.isEmpty() ? QString() : CNativePath::Display(r.entries.first().source);
        auto* item = new QTreeWidgetItem(
            m_list, {locale_format::DateTime(QDateTime::fromMSecsSinceEpoch(r.timeMs)),
                     undo_texts::KindName(r.kind), file, Destination(r), undo_texts::StateName(r)});
        item->setData(0, kSeqRole, QVariant::fromValue(r.seq));
        if (r.seq == chosen)
            current = item;
    }
    for (int c = 0; c < m_list->columnCount(); ++c)
        m_list->resizeColumnToContents(c);
    m_list->setCurrentItem(current ? current : m_list->topLevelItem(0));
    const int skipped = m_history.Journal().SkippedLines();
    // One entry reads as a sentence of its own; any other count takes the language's plural.
    m_damage->setText(skipped == 1
                          ? QCoreApplication::translate(
                                "CHistoryDlg", "1 damaged entry of the journal was skipped.")
                          : QCoreApplication::translate(
                                "CHistoryDlg", "%n damaged entries of the journal were skipped.",
                                nullptr, skipped));
    m_damage->setVisible(skipped > 0);
    UpdateButtons();
}

// Only an action that is done, and that the undo can reach, can be undone up to; any done
// action can be skipped.
void CHistoryDlg::UpdateButtons() {
    const quint64 seq = ChosenSeq();
    bool bDone = false;
    for (const SortRecord& r : m_history.Records())
        if (r.seq == seq)
            bDone = r.state == SortRecord::State::Done;
    const SortRecord* next = m_history.UndoCandidate();
    m_undo->setEnabled(bDone && next && m_history.Trash().LooksUndoable(*next));
    m_skip->setEnabled(bDone);
}

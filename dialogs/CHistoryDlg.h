#pragma once

#include <QDialog>

class CUndoHistory;
class QLabel;
class QPushButton;
class QTreeWidget;

// The journal of sort actions, newest first, with the time, the action, the file, the
// destination and whether it is done or undone. "Undo up to here" undoes every action from
// the newest down to the chosen one, in that order; "Skip" marks a done action that cannot
// be undone as skipped, so that the older ones can be. Damaged lines of the journal, which
// were passed over, are counted above the list.
class CHistoryDlg : public QDialog {
    Q_OBJECT
public:
    CHistoryDlg(const CUndoHistory& history, QWidget* parent = nullptr);

    // Lists the journal again, keeping the chosen action chosen.
    void Fill();
    QTreeWidget* List() const { return m_list; }
    QPushButton* UndoButton() const { return m_undo; }
    QPushButton* SkipButton() const { return m_skip; }
    QLabel* DamageLabel() const { return m_damage; }

    // The newest actions shown; older ones stay in the journal.
    static constexpr int kShown = 1000;

Q_SIGNALS:
    void UndoUpToRequested(quint64 seq);
    void SkipRequested(quint64 seq);

private:
    void UpdateButtons();
    quint64 ChosenSeq() const;

    const CUndoHistory& m_history;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_undo = nullptr;
    QPushButton* m_skip = nullptr;
    QLabel* m_damage = nullptr;
};

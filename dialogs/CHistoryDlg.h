#pragma once

#include <QDialog>

class CUndoHistory;
class QPushButton;
class QTreeWidget;

// The journal of sort actions, newest first, with the time, the action, the file, the
// destination and whether it is done or undone. "Undo up to here" undoes every action from
// the newest down to the chosen one, in that order.
class CHistoryDlg : public QDialog {
    Q_OBJECT
public:
    CHistoryDlg(const CUndoHistory& history, QWidget* parent = nullptr);

    // Lists the journal again, keeping the chosen action chosen.
    void Fill();
    QTreeWidget* List() const { return m_list; }
    QPushButton* UndoButton() const { return m_undo; }

    // The newest actions shown; older ones stay in the journal.
    static constexpr int kShown = 1000;

Q_SIGNALS:
    void UndoUpToRequested(quint64 seq);

private:
    void UpdateButton();
    quint64 ChosenSeq() const;

    const CUndoHistory& m_history;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_undo = nullptr;
};

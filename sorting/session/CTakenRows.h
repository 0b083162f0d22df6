#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class CListCtrlModel;

// The rows an action took out of the list before its outcome was known, kept whole (text,
// icon, record) so that a picture that did not go comes back as it was listed. A row goes
// back after the row that stood before it, else before the one that stood after it, else at
// its old place; whatever does not go back is freed with the taker.
class CTakenRows {
public:
    explicit CTakenRows(CListCtrlModel& model) : m_model(model) {}
    ~CTakenRows();
    CTakenRows(const CTakenRows&) = delete;
    CTakenRows& operator=(const CTakenRows&) = delete;

    // Takes row n out of the list.
    void Take(int n);
    bool Holds(const QByteArray& file) const { return Find(file) >= 0; }
    // Lets the row of `file` go for good.
    void Drop(const QByteArray& file);
    // Puts the row of `file` back; its new place, or -1 when it was not taken or is listed
    // again already (a fresh reading of the folder).
    int PutBack(const QByteArray& file);
    // The files whose rows are still held, in the order they were taken.
    QList<QByteArray> Files() const;

private:
    struct Row {
        QByteArray native;
        QString text;
        int image = -1;
        quintptr lParam = 0;
        QByteArray before; // the rows that stood beside it when it was taken
        QByteArray after;
        int at = -1;
    };
    qsizetype Find(const QByteArray& file) const;
    int PlaceFor(const Row& row) const;

    CListCtrlModel& m_model;
    QList<Row> m_rows;
};

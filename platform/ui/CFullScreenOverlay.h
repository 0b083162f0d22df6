#pragma once

#include <QFrame>
#include <QList>
#include <QPair>

class QGridLayout;
class QLabel;
class QTimer;

// A small dark panel over the bottom of the widget it is given, for a picture shown on the
// whole screen: what was just done, then a key and a name per line (the destinations). It
// stays a few seconds, then hides. It never takes the focus or the mouse. Screen readers
// see it as an alert named by its heading.
class CFullScreenOverlay : public QFrame {
    Q_OBJECT
public:
    explicit CFullScreenOverlay(QWidget* over);

    static constexpr int kShowMs = 4000;

    using Rows = QList<QPair<QString, QString>>; // key, what it does
    // Shows the heading and the rows; the time starts again.
    void ShowFor(const QString& heading, const Rows& rows);
    QString Heading() const;
    // The rows shown, one "key name" text each.
    QStringList RowTexts() const;
    bool IsCounting() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FitToParent();

    QLabel* m_heading;
    QGridLayout* m_rows;
    QTimer* m_timer;
};

#pragma once

#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QStyleOptionViewItem>
#include <memory>

class CPlainText;
class QPainter;

// Draws a list cell the quick way: the style's own background for the item's state (drawn
// once per state, with neither icon nor text), then the icon, then the name in one line,
// then the focus frame (also drawn once), each where the style puts it. The style lays out and
// shapes the name twice for every cell; this draws it once.
//
// Whether composing gives the style's own picture is checked against the style the first
// time each kind of cell is drawn, with that very cell; a kind that does not match is
// always left to the style. Names in scripts that need shaping are always left to it.
class CListCellComposer {
public:
    enum class Verdict { Unknown, Composes, StyleOnly };

    CListCellComposer();
    ~CListCellComposer();
    // Forgets everything learnt (the font, palette, style or cell size changed).
    void Reset();
    // What is known about composing a cell like this one (`option` as initialised for the
    // item, with its rectangle at the origin).
    Verdict VerdictFor(const QStyleOptionViewItem& option);
    void SetVerdict(const QStyleOptionViewItem& option, bool bComposes);
    // Draws the cell over a cell already filled with the base colour.
    void Compose(QPainter& painter, const QStyleOptionViewItem& option);

private:
    struct Parts {
        QPixmap background; // the state's background: the selection
        QPixmap focus;      // the focus frame, drawn over the name; null without the focus
        QRect icon;
        QPointF baseline; // where the name's first letter sits
        int textWidth = 0;
    };
    quint64 KindOf(const QStyleOptionViewItem& option);
    static bool NeedsShaping(const QString& text);
    const Parts& PartsFor(const QStyleOptionViewItem& option);
    static QPixmap Background(const QStyleOptionViewItem& option);
    static QPixmap FocusFrame(const QStyleOptionViewItem& option);
    static QPixmap Blank(const QStyleOptionViewItem& option, const QColor& fill);
    QString Elided(const QStyleOptionViewItem& option, int width) const;
    const QPixmap& IconPicture(const QStyleOptionViewItem& option, const QSize& size,
                               QIcon::Mode mode, QIcon::State state);
    int Advance(const QStyleOptionViewItem& option) const;

    QHash<quint64, Verdict> m_verdicts;
    QHash<quint64, Parts> m_parts;
    QHash<quint64, QPixmap> m_icons;     // by icon, mode and state
    std::unique_ptr<CPlainText> m_plain; // names that need no shaping, in the list's font
    mutable QString m_measuredText;
    mutable int m_measuredWidth = 0;
};

#include "browser/CListCellComposer.h"

#include "platform/CPlainText.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QTextLayout>

namespace {
// The parts of an item's state that change how it is drawn.
constexpr QStyle::State kDrawnState =
    QStyle::State_Selected | QStyle::State_HasFocus | QStyle::State_Active | QStyle::State_Enabled |
    QStyle::State_KeyboardFocusChange | QStyle::State_MouseOver | QStyle::State_Open;

const QStyle* StyleOf(const QStyleOptionViewItem& option) {
    return option.widget ? option.widget->style() : QApplication::style();
}

// The colour group the style draws an item's text in.
QPalette::ColorGroup GroupOf(const QStyleOptionViewItem& option) {
    if (!(option.state & QStyle::State_Enabled))
        return QPalette::Disabled;
    return option.state & QStyle::State_Active ? QPalette::Normal : QPalette::Inactive;
}

int TextMargin(const QStyleOptionViewItem& option) {
    return StyleOf(option)->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option.widget) + 1;
}
} // namespace

CListCellComposer::CListCellComposer() = default;
CListCellComposer::~CListCellComposer() = default;

void CListCellComposer::Reset() {
    m_verdicts.clear();
    m_parts.clear();
    m_icons.clear();
    m_plain.reset();
    m_measuredText.clear();
}

// A kind of cell: its state, its icon's size, and whether its name is shortened.
quint64 CListCellComposer::KindOf(const QStyleOptionViewItem& option) {
    const bool bShortened = Advance(option) > PartsFor(option).textWidth;
    return quint64(uint(option.state & kDrawnState)) | quint64(bShortened) << 32 |
           quint64(option.decorationSize.width() & 0xff) << 40 |
           quint64(option.decorationSize.height() & 0xff) << 48;
}

bool CListCellComposer::NeedsShaping(const QString& text) {
    for (const QChar ch : text)
        if (ch.unicode() >= 0x0300) // combining marks and every script that is shaped
            return true;
    return false;
}

CListCellComposer::Verdict CListCellComposer::VerdictFor(const QStyleOptionViewItem& option) {
    if (NeedsShaping(option.text) || option.direction != Qt::LeftToRight ||
        !(option.features & QStyleOptionViewItem::HasDisplay))
        return Verdict::StyleOnly;
    return m_verdicts.value(KindOf(option), Verdict::Unknown);
}

void CListCellComposer::SetVerdict(const QStyleOptionViewItem& option, bool bComposes) {
    m_verdicts.insert(KindOf(option), bComposes ? Verdict::Composes : Verdict::StyleOnly);
}

void CListCellComposer::Compose(QPainter& painter, const QStyleOptionViewItem& option) {
    const Parts& parts = PartsFor(option);
    painter.drawPixmap(0, 0, parts.background);
    if (option.features & QStyleOptionViewItem::HasDecoration) {
        QIcon::Mode mode = QIcon::Normal;
        if (!(option.state & QStyle::State_Enabled))
            mode = QIcon::Disabled;
        else if (option.state & QStyle::State_Selected)
            mode = QIcon::Selected;
        const QIcon::State state = option.state & QStyle::State_Open ? QIcon::On : QIcon::Off;
        painter.drawPixmap(parts.icon.topLeft(),
                           IconPicture(option, parts.icon.size(), mode, state));
    }
    const bool bSelected = option.state & QStyle::State_Selected;
    painter.setFont(option.font);
    painter.setPen(option.palette.color(GroupOf(option),
                                        bSelected ? QPalette::HighlightedText : QPalette::Text));
    const QString name = Elided(option, parts.textWidth);
    if (!m_plain)
        m_plain = std::make_unique<CPlainText>(option.font);
    if (m_plain->Handles(name))
        m_plain->Draw(painter, parts.baseline, name);
    else
        painter.drawText(parts.baseline, name);
    if (!parts.focus.isNull())
        painter.drawPixmap(0, 0, parts.focus);
}

// The width of the name in one line; a cell asks for it twice, so the last one is kept.
int CListCellComposer::Advance(const QStyleOptionViewItem& option) const {
    if (option.text != m_measuredText) {
        m_measuredText = option.text;
        m_measuredWidth = option.fontMetrics.horizontalAdvance(option.text);
    }
    return m_measuredWidth;
}

// The icon as the style paints it into its rectangle, kept: most cells share a few icons.
const QPixmap& CListCellComposer::IconPicture(const QStyleOptionViewItem& option, const QSize& size,
                                              QIcon::Mode mode, QIcon::State state) {
    const quint64 key = quint64(option.icon.cacheKey()) * 8 + quint64(mode) * 2 + quint64(state);
    auto found = m_icons.constFind(key);
    if (found != m_icons.constEnd() && found->deviceIndependentSize().toSize() == size)
        return *found;
    const qreal dpr = option.widget ? option.widget->devicePixelRatioF() : 1.0;
    QPixmap picture(size * dpr);
    picture.setDevicePixelRatio(dpr);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    option.icon.paint(&painter, QRect(QPoint(0, 0), size), option.decorationAlignment, mode, state);
    painter.end();
    return *m_icons.insert(key, picture);
}

QString CListCellComposer::Elided(const QStyleOptionViewItem& option, int width) const {
    if (Advance(option) <= width)
        return option.text;
    return option.fontMetrics.elidedText(option.text, option.textElideMode, width);
}

const CListCellComposer::Parts& CListCellComposer::PartsFor(const QStyleOptionViewItem& option) {
    const quint64 kind = quint64(uint(option.state & kDrawnState)) |
                         quint64(option.decorationSize.width() & 0xff) << 40 |
                         quint64(option.decorationSize.height() & 0xff) << 48;
    const auto found = m_parts.constFind(kind);
    if (found != m_parts.constEnd())
        return *found;
    const QStyle* style = StyleOf(option);
    Parts parts;
    parts.background = Background(option);
    if (option.state & QStyle::State_HasFocus)
        parts.focus = FocusFrame(option);
    parts.icon = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, option.widget);
    const int margin = TextMargin(option);
    const QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &option, option.widget)
                           .adjusted(margin, 0, -margin, 0);
    QTextLayout probe(QStringLiteral("Xg"), option.font);
    probe.beginLayout();
    QTextLine line = probe.createLine();
    line.setLineWidth(text.width());
    probe.endLayout();
    const QRect lineRect = QStyle::alignedRect(option.direction, option.displayAlignment,
                                               QSize(text.width(), int(line.height())), text);
    parts.baseline = QPointF(lineRect.left(), lineRect.top() + line.ascent());
    parts.textWidth = text.width();
    return *m_parts.insert(kind, parts);
}

QPixmap CListCellComposer::Blank(const QStyleOptionViewItem& option, const QColor& fill) {
    const qreal dpr = option.widget ? option.widget->devicePixelRatioF() : 1.0;
    QPixmap blank(option.rect.size() * dpr);
    blank.setDevicePixelRatio(dpr);
    blank.fill(fill);
    return blank;
}

// The cell as the style draws it for this state with an invisible icon and name and no
// focus frame: the selection, which does not depend on the name.
QPixmap CListCellComposer::Background(const QStyleOptionViewItem& option) {
    QPixmap background = Blank(option, option.palette.color(GroupOf(option), QPalette::Base));
    QStyleOptionViewItem blank = option;
    blank.state &= ~QStyle::State_HasFocus;
    const qreal dpr = background.devicePixelRatio();
    QPixmap clear(option.decorationSize * dpr);
    clear.setDevicePixelRatio(dpr);
    clear.fill(Qt::transparent);
    blank.icon = QIcon(clear);
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (const QPalette::ColorRole role : {QPalette::Text, QPalette::HighlightedText})
            blank.palette.setColor(group, role, Qt::transparent);
    QPainter painter(&background);
    StyleOf(option)->drawControl(QStyle::CE_ItemViewItem, &blank, &painter, option.widget);
    return background;
}

// The focus frame alone, as the style draws it over a focused item.
QPixmap CListCellComposer::FocusFrame(const QStyleOptionViewItem& option) {
    QPixmap frame = Blank(option, Qt::transparent);
    const QStyle* style = StyleOf(option);
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(option);
    focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &option, option.widget);
    focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
    const QPalette::ColorGroup group =
        option.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    focus.backgroundColor = option.palette.color(
        group, option.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Window);
    QPainter painter(&frame);
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, option.widget);
    return frame;
}

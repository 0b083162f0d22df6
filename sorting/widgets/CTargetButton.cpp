#include "sorting/widgets/CTargetButton.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextOption>

namespace {
constexpr int kMargin = 3;     // between the button's edge, the key and the name
constexpr int kFocusWidth = 2; // the focus frame, plain to see against any button face

bool IsPressKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A dropped folder is only named, never taken: the drop is a link (or a copy where the
// source offers no link), so no file manager removes the folder after a "move".
bool AcceptAsLink(QDropEvent* e) {
    if (CTargetButton::DroppedFolder(e->mimeData()).isEmpty())
        return false;
    if (e->possibleActions() & Qt::LinkAction)
        e->setDropAction(Qt::LinkAction);
    else if (e->possibleActions() & Qt::CopyAction)
        e->setDropAction(Qt::CopyAction);
    else
        return false;
    e->accept();
    return true;
}
} // namespace

CTargetButton::CTargetButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    setAutoDefault(false);
    setAcceptDrops(true);
}

void CTargetButton::SetKeyText(const QString& keyText) {
    m_strKey = keyText;
    update();
}

void CTargetButton::SetUnset(bool bUnset) {
    m_bUnset = bUnset;
    update();
}

QString CTargetButton::DroppedFolder(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return QString();
    const QUrl url = mime->urls().constFirst();
    if (!url.isLocalFile())
        return QString();
    const QFileInfo info(url.toLocalFile());
    return info.isDir() ? info.absoluteFilePath() : QString();
}

// The window's accelerators would take Return (and any key) before the button sees it;
// while the button has the focus, the keys that press it are its own. Space is not one of
// them: it stays the window's, which fits the picture or shows it at its own size.
bool CTargetButton::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(e);
        if (IsPressKey(key->key()) && key->modifiers() == Qt::NoModifier) {
            e->accept();
            return true;
        }
    }
    return QPushButton::event(e);
}

void CTargetButton::keyPressEvent(QKeyEvent* e) {
    if (IsPressKey(e->key()) && !e->isAutoRepeat()) {
        click();
        return;
    }
    if (e->key() == Qt::Key_Space) {
        e->ignore(); // on to the window
        return;
    }
    QPushButton::keyPressEvent(e);
}

void CTargetButton::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Space) {
        e->ignore();
        return;
    }
    QPushButton::keyReleaseEvent(e);
}

// The key stands where lines begin: at the left, or right to left at the right.
QRect CTargetButton::KeyRect() const {
    int w = 0;
    if (!m_strKey.isEmpty()) {
        QFont small = font();
        small.setPointSizeF(font().pointSizeF() * 0.85);
        w = QFontMetrics(small).horizontalAdvance(m_strKey);
    }
    const int inset = kMargin + (m_strKey.isEmpty() ? 0 : 1);
    const int left = isRightToLeft() ? rect().right() + 1 - inset - w : rect().left() + inset;
    return QRect(left, 0, w, height());
}

QRect CTargetButton::NameRect() const {
    const QRect key = KeyRect();
    const int gap = m_strKey.isEmpty() ? 0 : kMargin;
    if (isRightToLeft()) {
        const int right = key.left() - gap; // exclusive
        const int left = rect().left() + kMargin;
        return QRect(left, 0, std::max(0, right - left), height());
    }
    const int left = key.right() + 1 + gap;
    return QRect(left, 0, std::max(0, rect().right() - kMargin - left), height());
}

QString CTargetButton::ShownName() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, NameRect().width());
}

void CTargetButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.state &= ~QStyle::State_HasFocus; // drawn below, more plainly than the style's ring
    p.drawControl(QStyle::CE_PushButtonBevel, option);

    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    QColor ink = palette().color(group, QPalette::ButtonText);
    const int shift = isDown() ? 1 : 0;
    if (!m_strKey.isEmpty()) {
        QFont small = font();
        small.setPointSizeF(font().pointSizeF() * 0.85);
        p.setFont(small);
        QColor dim = ink;
        dim.setAlphaF(0.55);
        p.setPen(dim);
        // A key's name reads left to right in any language ("^1", never "1^").
        QTextOption ltr(Qt::AlignLeft | Qt::AlignVCenter);
        ltr.setTextDirection(Qt::LeftToRight);
        p.drawText(QRectF(KeyRect().translated(shift, shift)), m_strKey, ltr);
        p.setFont(font());
    }
    if (m_bUnset)
        ink.setAlphaF(0.6);
    p.setPen(ink);
    p.drawText(NameRect().translated(shift, shift), Qt::AlignHCenter | Qt::AlignVCenter,
               ShownName());

    if (hasFocus() || m_bDropTarget) {
        QPen pen(palette().color(QPalette::Active, QPalette::Highlight), kFocusWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const int inset = kFocusWidth / 2 + 1;
        p.drawRect(rect().adjusted(inset, inset, -inset - 1, -inset - 1));
    }
}

void CTargetButton::dragEnterEvent(QDragEnterEvent* e) {
    if (!AcceptAsLink(e))
        return;
    m_bDropTarget = true;
    update();
}

void CTargetButton::dragLeaveEvent(QDragLeaveEvent*) {
    m_bDropTarget = false;
    update();
}

void CTargetButton::dropEvent(QDropEvent* e) {
    m_bDropTarget = false;
    update();
    if (!AcceptAsLink(e))
        return;
    Q_EMIT FolderDropped(DroppedFolder(e->mimeData()));
}

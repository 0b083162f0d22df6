#include "platform/ui/CDialogBuilder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

namespace {

const char* const kIdProperty = "controlId";

QString Caption(const dlg::Control& c) {
    return c.text ? QCoreApplication::translate("DialogTemplate", c.text) : QString();
}

QWidget* MakeStandard(const dlg::Control& c, QWidget* parent) {
    using dlg::Kind;
    switch (c.kind) {
    case Kind::PushButton:
    case Kind::DefPushButton: {
        auto* b = new QPushButton(Caption(c), parent);
        b->setDefault(c.kind == Kind::DefPushButton);
        b->setAutoDefault(false);
        return b;
    }
    case Kind::RadioButton:
        return new QRadioButton(Caption(c), parent);
    case Kind::CheckBox:
        return new QCheckBox(Caption(c), parent);
    case Kind::Static: {
        auto* l = new QLabel(parent);
        l->setTextFormat(Qt::PlainText);
        l->setText((c.style & dlg::NoPrefix) ? Caption(c)
                                             : QString(Caption(c)).remove(QLatin1Char('&')));
        return l;
    }
    case Kind::Icon: {
        auto* l = new QLabel(parent);
        l->setPixmap(QApplication::windowIcon().pixmap(32, 32));
        l->setScaledContents(true);
        return l;
    }
    case Kind::Edit: {
        auto* e = new QLineEdit(Caption(c), parent);
        e->setFrame(c.style & dlg::Border);
        return e;
    }
    case Kind::ListBox:
        return new QListWidget(parent);
    case Kind::ComboBox:
        return new QComboBox(parent);
    case Kind::TreeView: {
        auto* t = new QTreeWidget(parent);
        t->setHeaderHidden(true);
        return t;
    }
    case Kind::ListView:
        return new QListWidget(parent);
    case Kind::TabControl:
        return new QTabBar(parent);
    case Kind::Custom:
        return new QWidget(parent);
    }
    return new QWidget(parent);
}

void ApplyStyle(QWidget* w, const dlg::Control& c) {
    w->setEnabled(!(c.style & dlg::Disabled));
    if (c.style & dlg::Hidden)
        w->hide();
    if (!(c.style & dlg::TabStop) && c.kind != dlg::Kind::RadioButton)
        w->setFocusPolicy(w->focusPolicy() == Qt::NoFocus ? Qt::NoFocus : Qt::ClickFocus);
}

// A caption in another language may need more room than the template gives: the control
// grows to the right until its text is whole.
void FitText(QWidget* w) {
    int need = 0;
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) {
        need = w->sizeHint().width();
    } else if (auto* b = qobject_cast<QPushButton*>(w)) {
        const int margin = b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b);
        need = b->fontMetrics().horizontalAdvance(QString(b->text()).remove(QLatin1Char('&'))) +
               2 * margin;
    } else if (auto* l = qobject_cast<QLabel*>(w); l && l->pixmap().isNull()) {
        need = l->sizeHint().width();
    }
    if (need > w->width())
        w->resize(need, w->height());
}

// ... and the dialog grows with a control that now reaches past its edge.
void GrowToHoldControls(QWidget* host, const QFontMetrics& fm) {
    const int margin = CDialogBuilder::MapDialogRect(fm, QRect(0, 0, 4, 0)).width();
    int right = host->width();
    for (QWidget* w : host->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!w->isHidden() && w->geometry().right() + 1 > host->width())
            right = std::max(right, w->geometry().right() + 1 + margin);
    if (right > host->width())
        host->resize(right, host->height());
}

} // namespace

QSizeF CDialogBuilder::BaseUnits(const QFontMetrics& fm) {
    // The average width of the letters, as dialog units have always been measured.
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double avg = (fm.horizontalAdvance(letters) / 26.0 + 1.0) / 2.0;
    return QSizeF(avg / 4.0, fm.height() / 8.0);
}

QRect CDialogBuilder::MapDialogRect(const QFontMetrics& fm, const QRect& du) {
    const QSizeF u = BaseUnits(fm);
    const auto px = [](double v) { return static_cast<int>(std::lround(v)); };
    const int left = px(du.x() * u.width());
    const int top = px(du.y() * u.height());
    const int right = px((du.x() + du.width()) * u.width());
    const int bottom = px((du.y() + du.height()) * u.height());
    return QRect(left, top, right - left, bottom - top);
}

void CDialogBuilder::Build(QWidget* host, const dlg::Template& t, const Factory& factory) {
    const QFontMetrics fm(host->font());
    if (t.caption)
        host->setWindowTitle(QCoreApplication::translate("DialogTemplate", t.caption));
    host->resize(MapDialogRect(fm, QRect(0, 0, t.cx, t.cy)).size());

    QButtonGroup* radios = nullptr;
    QWidget* previousTabStop = nullptr;
    for (const dlg::Control& c : t.controls) {
        QWidget* w = factory ? factory(c, host) : nullptr;
        if (!w)
            w = MakeStandard(c, host);
        w->setProperty(kIdProperty, c.id);
        if (c.id != dlg::kStaticId)
            w->setObjectName(QStringLiteral("ctl%1").arg(c.id));
        w->setGeometry(MapDialogRect(fm, QRect(c.x, c.y, c.cx, c.cy)));
        // A combo box's template height includes its drop-down list; the box itself keeps
        // the height of one line.
        if (auto* combo = qobject_cast<QComboBox*>(w))
            combo->resize(combo->width(), std::min(combo->height(), combo->sizeHint().height()));
        FitText(w);
        ApplyStyle(w, c);

        // A radio button that starts a group opens a new exclusive group.
        if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            if (!radios || (c.style & dlg::Group))
                radios = new QButtonGroup(host);
            radios->addButton(radio);
        } else if (c.style & dlg::Group) {
            radios = nullptr;
        }
        if (w->focusPolicy() & Qt::TabFocus) {
            if (previousTabStop)
                QWidget::setTabOrder(previousTabStop, w);
            previousTabStop = w;
        }
    }
    GrowToHoldControls(host, fm);
}

QWidget* CDialogBuilder::Control(const QWidget* host, int id) {
    if (!host)
        return nullptr;
    if (id != dlg::kStaticId)
        return host->findChild<QWidget*>(QStringLiteral("ctl%1").arg(id));
    for (QWidget* w : host->findChildren<QWidget*>())
        if (w->property(kIdProperty).toInt() == id)
            return w;
    return nullptr;
}

int CDialogBuilder::ControlId(const QWidget* control) {
    return control ? control->property(kIdProperty).toInt() : 0;
}

QString CDialogBuilder::Text(const QWidget* host, int id) {
    QWidget* w = Control(host, id);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return b->text();
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    return QString();
}

void CDialogBuilder::SetText(QWidget* host, int id, const QString& text) {
    QWidget* w = Control(host, id);
    if (auto* e = qobject_cast<QLineEdit*>(w))
        e->setText(text);
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(text);
}

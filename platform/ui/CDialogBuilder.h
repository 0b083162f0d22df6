#pragma once

#include "resources/DialogTemplate.h"

#include <QRect>
#include <QSize>
#include <functional>

class QFontMetrics;
class QWidget;

// Builds a dialog or form from its template: creates every control in template order
// (which is also the tab order), converts dialog units to pixels from the host's font and
// tags each control with its id so that code and tests can find it again.
class CDialogBuilder {
public:
    // Makes the widget for a Kind::Custom control (or for any control it wants to
    // provide itself); returning null lets the builder make the standard one.
    using Factory = std::function<QWidget*(const dlg::Control&, QWidget* parent)>;

    // Pixels per dialog unit for a font: x from the average character width / 4,
    // y from the character height / 8.
    static QSizeF BaseUnits(const QFontMetrics& fm);
    static QRect MapDialogRect(const QFontMetrics& fm, const QRect& dialogUnits);

    // Creates the controls on `host`, gives it the template's caption and size.
    static void Build(QWidget* host, const dlg::Template& t, const Factory& factory = {});

    // The control with this id on host, or null. With id -1 the first such control.
    static QWidget* Control(const QWidget* host, int id);
    template <class T> static T* ControlAs(const QWidget* host, int id) {
        return qobject_cast<T*>(Control(host, id));
    }
    static int ControlId(const QWidget* control); // the tag, or 0 when untagged

    // Text of a control (caption of a button or label, contents of an edit).
    static QString Text(const QWidget* host, int id);
    static void SetText(QWidget* host, int id, const QString& text);
};

#pragma once

#include "platform/CDialogBuilder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>
#include <functional>

// Small helpers that drive a dialog the way a user would: controls found by id, buttons
// clicked with the mouse, texts typed into edits.
namespace driver {

inline QAbstractButton* Button(const QWidget* host, int id) {
    return CDialogBuilder::ControlAs<QAbstractButton>(host, id);
}

inline bool Checked(const QWidget* host, int id) {
    const QAbstractButton* b = Button(host, id);
    return b && b->isChecked();
}

// Clicks near the left end, where check marks and radio dots are, and inside any button.
inline void Click(const QWidget* host, int id) {
    QAbstractButton* b = Button(host, id);
    QVERIFY2(b, qPrintable(QStringLiteral("no button %1").arg(id)));
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, b->height() / 2));
}

// Replaces an edit's text by typing: select all, then the keys of text.
inline void Type(const QWidget* host, int id, const QString& text) {
    auto* e = CDialogBuilder::ControlAs<QLineEdit>(host, id);
    QVERIFY2(e, qPrintable(QStringLiteral("no edit %1").arg(id)));
    e->selectAll();
    if (text.isEmpty())
        QTest::keyClick(e, Qt::Key_Delete);
    else
        QTest::keyClicks(e, text);
}

// Runs act on the first visible top-level dialog of type T once it is up, for the code
// that opens a nested modal dialog and waits in its loop.
template <class T> void WhenShown(std::function<void(T*)> act, int triesLeft = 200) {
    QTimer::singleShot(10, [act = std::move(act), triesLeft] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<T*>(w); d && d->isVisible()) {
                act(d);
                return;
            }
        if (triesLeft > 0)
            WhenShown<T>(act, triesLeft - 1);
    });
}

} // namespace driver

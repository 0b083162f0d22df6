#pragma once

#include "platform/ui/CDialogBuilder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <functional>

// Drives a dialog as a user would: controls found by id, buttons clicked with the mouse.
namespace driver {

inline bool Checked(const QWidget* host, int id) {
    const auto* b = CDialogBuilder::ControlAs<QAbstractButton>(host, id);
    return b && b->isChecked();
}

// Clicks near the left end, where check marks and radio dots are, and inside any button.
inline void Click(const QWidget* host, int id) {
    auto* b = CDialogBuilder::ControlAs<QAbstractButton>(host, id);
    QVERIFY2(b, qPrintable(QString::number(id)));
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(4, b->height() / 2));
}

// Runs act on the visible top-level T once a nested modal loop has shown it.
template <class T> void WhenShown(std::function<void(T*)> act, int triesLeft = 200) {
    QTimer::singleShot(10, [act = std::move(act), triesLeft] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<T*>(w); d && d->isVisible())
                return act(d);
        if (triesLeft > 0)
            WhenShown<T>(act, triesLeft - 1);
    });
}

} // namespace driver

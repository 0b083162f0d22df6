#include "platform/ui/CDialogBuilder.h"
#include "resources/templates/AboutTemplate.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>
#include <array>

using namespace dlg;

namespace {
constexpr std::array kSample{
    Control{1, Kind::DefPushButton, "OK", 100, 4, 40, 14, TabStop},
    Control{kStaticId, Kind::Static, "&Name:", 4, 6, 30, 8, Group},
    Control{300, Kind::Edit, "", 36, 4, 60, 14, TabStop | Border},
    Control{301, Kind::Edit, "", 36, 20, 60, 14, TabStop | Border | Disabled},
    Control{310, Kind::RadioButton, "One", 4, 40, 40, 10, Group},
    Control{311, Kind::RadioButton, "Two", 50, 40, 40, 10, None},
    Control{312, Kind::RadioButton, "Three", 4, 52, 40, 10, Group},
    Control{313, Kind::RadioButton, "Four", 50, 52, 40, 10, None},
    Control{2, Kind::PushButton, "Cancel", 100, 20, 40, 14, TabStop},
};
constexpr Template kSampleTemplate{"sample", "Sample", 150, 70, kSample};
} // namespace

class TestDialogBuilder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void dialogUnitsFollowTheFont() {
        QFont small = QApplication::font();
        small.setPixelSize(10);
        QFont big = small;
        big.setPixelSize(20);
        const QRect a = CDialogBuilder::MapDialogRect(QFontMetrics(small), QRect(0, 0, 100, 80));
        const QRect b = CDialogBuilder::MapDialogRect(QFontMetrics(big), QRect(0, 0, 100, 80));
        QVERIFY(b.width() > a.width() * 3 / 2 && b.height() > a.height() * 3 / 2);
        // Eight vertical units are one line of text; four horizontal ones one average letter.
        QCOMPARE(CDialogBuilder::MapDialogRect(QFontMetrics(big), QRect(0, 0, 0, 8)).height(),
                 QFontMetrics(big).height());
        // Adjacent rectangles stay adjacent after rounding: no gaps, no overlaps.
        const QRect left = CDialogBuilder::MapDialogRect(QFontMetrics(small), QRect(3, 3, 17, 9));
        const QRect right = CDialogBuilder::MapDialogRect(QFontMetrics(small), QRect(20, 3, 17, 9));
        QCOMPARE(left.right() + 1, right.left());
    }

    void controlsAreFoundByIdAndKeepTemplateOrderAndGroups() {
        QDialog d;
        CDialogBuilder::Build(&d, kSampleTemplate);
        QCOMPARE(CDialogBuilder::ControlId(CDialogBuilder::Control(&d, 300)), 300);
        QVERIFY(!CDialogBuilder::Control(&d, 999));
        QVERIFY(!CDialogBuilder::Control(&d, 301)->isEnabled());
        QCOMPARE(CDialogBuilder::Text(&d, kStaticId), QStringLiteral("Name:"));
        CDialogBuilder::SetText(&d, 300, "typed");
        QCOMPARE(CDialogBuilder::ControlAs<QLineEdit>(&d, 300)->text(), QStringLiteral("typed"));

        // Tab order is template order: OK, the edit, the disabled edit, then Cancel.
        const auto nextTabStop = [](QWidget* w) {
            do
                w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus));
            return w;
        };
        QWidget* w = nextTabStop(CDialogBuilder::Control(&d, 1));
        QCOMPARE(w, CDialogBuilder::Control(&d, 300));
        w = nextTabStop(w);
        QCOMPARE(w, CDialogBuilder::Control(&d, 301));
        while (!qobject_cast<QPushButton*>(w))
            w = nextTabStop(w);
        QCOMPARE(w, CDialogBuilder::Control(&d, 2));

        // A radio group starts at each control with the group style.
        auto radio = [&](int id) { return CDialogBuilder::ControlAs<QRadioButton>(&d, id); };
        radio(310)->setChecked(true);
        radio(312)->setChecked(true);
        QVERIFY(radio(310)->isChecked()); // another group
        radio(311)->setChecked(true);
        QVERIFY(!radio(310)->isChecked());
        QVERIFY(radio(312)->isChecked());
    }
};

QTEST_MAIN(TestDialogBuilder)
#include "tst_dialogbuilder.moc"

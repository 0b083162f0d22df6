#include "resources/templates/ConfigTemplate.h"
#include "resources/templates/DirOpenTemplate.h"
#include "resources/templates/FileTypesTemplate.h"
#include "resources/templates/TargetDirsTemplate.h"

#include <QRect>
#include <QSet>
#include <QtTest>

using namespace dlg;

class TestDialogTemplates : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void visibleControlsFitAndNeverOverlap_data();
    void visibleControlsFitAndNeverOverlap();
    void idsAreUnique();
};

namespace {
// A combo box's template height includes its drop-down list; on the form it is one line.
constexpr int kComboLine = 12;

QRect Rect(const Control& c) {
    return QRect(c.x, c.y, c.cx, c.kind == Kind::ComboBox ? kComboLine : c.cy);
}
} // namespace

void TestDialogTemplates::visibleControlsFitAndNeverOverlap_data() {
    QTest::addColumn<const Template*>("t");
    QTest::newRow("136") << &ConfigTemplate();
    QTest::newRow("137") << &TargetDirsTemplate();
    QTest::newRow("138") << &FileTypesTemplate();
    QTest::newRow("WIN95_DIROPEN") << &DirOpenTemplate();
}

void TestDialogTemplates::visibleControlsFitAndNeverOverlap() {
    QFETCH(const Template*, t);
    const QRect client(0, 0, t->cx, t->cy);
    QList<const Control*> shown;
    for (const Control& c : t->controls) {
        if (c.style & Hidden)
            continue;
        QVERIFY2(client.contains(Rect(c)), qPrintable(QString::number(c.id)));
        for (const Control* other : shown)
            QVERIFY2(!Rect(c).intersects(Rect(*other)),
                     qPrintable(QStringLiteral("%1 and %2").arg(c.id).arg(other->id)));
        shown.append(&c);
    }
}

void TestDialogTemplates::idsAreUnique() {
    for (const Template* t :
         {&ConfigTemplate(), &TargetDirsTemplate(), &FileTypesTemplate(), &DirOpenTemplate()}) {
        QSet<int> ids;
        for (const Control& c : t->controls) {
            if (c.id == kStaticId)
                continue;
            QVERIFY2(!ids.contains(c.id), qPrintable(QString::number(c.id)));
            ids.insert(c.id);
        }
    }
    QCOMPARE(TargetDirsTemplate().controls.size(), std::size_t(90));
}

QTEST_MAIN(TestDialogTemplates)
#include "tst_dialogtemplates.moc"

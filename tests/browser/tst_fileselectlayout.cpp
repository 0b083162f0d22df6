#include "browser/FileSelectLayout.h"

#include <QtTest>

class TestFileSelectLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void treeAboveListThirtySeventy_data();
    void treeAboveListThirtySeventy();
};

void TestFileSelectLayout::treeAboveListThirtySeventy_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRect>("tree");
    QTest::addColumn<QRect>("list");
    QTest::newRow("200x600") << QSize(200, 600) << QRect(3, 3, 194, 178) << QRect(3, 185, 194, 412);
    QTest::newRow("200x406") << QSize(200, 406) << QRect(3, 3, 194, 120) << QRect(3, 126, 194, 277);
}

void TestFileSelectLayout::treeAboveListThirtySeventy() {
    QFETCH(QSize, client);
    QFETCH(QRect, tree);
    QFETCH(QRect, list);
    const FileSelectLayout l = FileSelectLayout::For(client.width(), client.height());
    QCOMPARE(l.tree, tree);
    QCOMPARE(l.list, list);
    QVERIFY(l.list.top() > l.tree.bottom()); // never overlapping
}

QTEST_GUILESS_MAIN(TestFileSelectLayout)
#include "tst_fileselectlayout.moc"

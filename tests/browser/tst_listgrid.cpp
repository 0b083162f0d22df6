// The small-icon file list through the keyboard and the mouse, and what removing an item
// costs on screen.
#include "browser/controls/CItemLabelHitTest.h"
#include "browser/controls/CListCtrlEx.h"
#include "tests/support/PaintWatch.h"

#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QToolTip>
#include <QtTest>

namespace {
QString Name(int i) {
    return QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
}

// The width the list's rows have: its inside, less the scroll bar it keeps room for.
int Room(const QListView& list) {
    return list.contentsRect().width() - 1 - list.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

void Fill(CListCtrlEx& list, int count) {
    for (int i = 0; i < count; ++i)
        list.InsertItem(i, Name(i), -1, 0);
}
} // namespace

class TestListGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Wide enough for two columns: the items flow left to right in rows.
    void fileListFollowsKeysClicksAndScrolling() {
        CListCtrlEx list;
        Fill(list, 200);
        list.resize(100, list.CellSize().height() * 8); // narrow: one cell of the least width
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.resize(list.CellSize().width() * 4 + 40, list.CellSize().height() * 8);
        QCoreApplication::processEvents();
        const QSize cell = list.CellSize();
        list.setFocus();
        QCOMPARE(list.visualRect(list.IndexOf(3)).topLeft(), QPoint(cell.width(), cell.height()));

        QTest::keyClick(list.viewport(), Qt::Key_Down); // the first press selects the first
        QCOMPARE(list.currentIndex().row(), 0);
        QTest::keyClick(list.viewport(), Qt::Key_Down); // the same column, one row down
        QCOMPARE(list.currentIndex().row(), 2);
        QTest::keyClick(list.viewport(), Qt::Key_Right);
        QCOMPARE(list.currentIndex().row(), 3);
        QTest::keyClick(list.viewport(), Qt::Key_End);
        QCOMPARE(list.currentIndex().row(), 199);
        QVERIFY(list.verticalScrollBar()->value() > 0);
        QVERIFY(list.viewport()->rect().contains(list.visualRect(list.IndexOf(199))));

        QTest::keyClick(list.viewport(), Qt::Key_Home);
        QCOMPARE(list.verticalScrollBar()->value(), 0);
        const QRect second = list.visualRect(list.IndexOf(1));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(list.currentIndex().row(), 1);
        QVERIFY(list.IsItemSelected(1));

        // Removing items from a scrolled list keeps the scroll range (in rows) in step.
        list.scrollTo(list.IndexOf(199));
        for (int i = 0; i < 150; ++i)
            list.RemoveItem(0);
        const int rows = (list.GetItemCount() + 1) / 2;
        QCOMPARE(list.verticalScrollBar()->maximum(),
                 std::max(0, rows - list.viewport()->height() / cell.height()));
        QVERIFY(list.verticalScrollBar()->value() <= list.verticalScrollBar()->maximum());
        QCOMPARE(list.indexAt(list.visualRect(list.IndexOf(49)).center()).row(), 49);
    }

    // The cells share the list's width: a list dragged wider shows a long camera name whole
    // in one column, and splits into two columns only where each has twice its least
    // width. Every name is whole in its tooltip.
    void cellsShareTheWidthAndTooltipsNameTheFile() {
        CListCtrlEx list;
        const QString name = QStringLiteral("DSC_0001_Mountain_lake_at_dawn_holiday_2024.jpg");
        Fill(list, 3);
        list.InsertItem(0, name, -1, 0);
        list.resize(190, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const int least = list.CellSize().width();
        QVERIFY(list.visualRect(list.IndexOf(0)).width() <
                list.sizeHintForIndex(list.IndexOf(0)).width() + least / 2);
        const int wide = list.fontMetrics().horizontalAdvance(name) + least / 2;
        list.resize(wide + 2 * list.frameWidth() + 20, 300);
        QCoreApplication::processEvents();
        QCOMPARE(list.CellSize().width(), Room(list));
        QVERIFY(list.CellSize().width() >=
                list.fontMetrics().horizontalAdvance(name) + list.iconSize().width() + 8);
        list.resize(4 * least + 80, 300);
        QCoreApplication::processEvents();
        QCOMPARE(list.CellSize().width(), Room(list) / 2);
        QCOMPARE(list.visualRect(list.IndexOf(1)).left(), list.CellSize().width());

        const QPoint at = list.visualRect(list.IndexOf(0)).center();
        QHelpEvent help(QEvent::ToolTip, at, list.viewport()->mapToGlobal(at));
        QApplication::sendEvent(list.viewport(), &help);
        QCOMPARE(QToolTip::text(), name);
        QToolTip::hideText();
    }

    // Removing the current item leaves the choice of the next one to the caller: Qt must
    // not select a neighbour by itself. Removing and selecting the next item shows on
    // screen in one paint of the list, wherever the removed item stood.
    void removingTheCurrentItemSelectsNothingAndPaintsOnce_data() {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("item");
        QTest::newRow("one column, first") << 1 << 0;
        QTest::newRow("one column, shown") << 1 << 3;
        QTest::newRow("one column, last") << 1 << 59;
        QTest::newRow("three columns, shown") << 3 << 4;
        QTest::newRow("three columns, scrolled out") << 3 << 50;
    }
    void removingTheCurrentItemSelectsNothingAndPaintsOnce() {
        QFETCH(int, columns);
        QFETCH(int, item);
        CListCtrlEx list;
        Fill(list, 60);
        const QSize cell = list.CellSize();
        list.resize(cell.width() * columns + 30, cell.height() * 10);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setFocus();
        list.SelectItem(item, true);
        QCoreApplication::processEvents();
        QSignalSpy changes(list.selectionModel(), &QItemSelectionModel::currentChanged);
        PaintWatch paints(*list.viewport());

        list.RemoveItem(item);
        QCOMPARE(list.GetItemCount(), 59);
        QVERIFY(!list.selectionModel()->hasSelection());
        for (const QList<QVariant>& change : std::as_const(changes))
            QVERIFY(!change.at(0).toModelIndex().isValid()); // never a neighbour
        const int next = std::min(item, list.GetItemCount() - 1);
        list.SelectItem(next, true);
        QCOMPARE(list.GetItemText(next), Name(item < 59 ? item + 1 : 58));
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        QCOMPARE(paints.Count(), 1);
        QVERIFY(list.viewport()->rect().contains(list.visualRect(list.IndexOf(next))));
    }

    // Items taken out by the model alone (as a later outcome of a sort does) are closed up
    // before the list is next drawn, not on a later turn of the event loop.
    void itemsTakenOutAreClosedUpBeforeTheNextPaint() {
        CListCtrlEx list;
        Fill(list, 60);
        const QSize cell = list.CellSize();
        list.resize(cell.width() * 3 + 30, cell.height() * 10);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCoreApplication::processEvents();
        for (int item : {20, 4, 1, 0})
            QVERIFY(list.DeleteItem(item));
        const QImage atOnce = list.viewport()->grab().toImage();
        QCoreApplication::processEvents();
        QCOMPARE(atOnce, list.viewport()->grab().toImage());
    }

    // Right to left the rows flow from the right, the arrow keys follow what is seen, and
    // a short name stands at the right of its cell, where a click finds its label.
    void rightToLeftMirrorsTheFlowKeysAndLabels_data() {
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::newRow("left to right") << Qt::LeftToRight;
        QTest::newRow("right to left") << Qt::RightToLeft;
    }
    void rightToLeftMirrorsTheFlowKeysAndLabels() {
        QFETCH(Qt::LayoutDirection, direction);
        const bool bRtl = direction == Qt::RightToLeft;
        CListCtrlEx list;
        list.setLayoutDirection(direction);
        list.InsertItem(0, QStringLiteral("a.jpg"), -1, 0);
        for (int i = 1; i < 6; ++i)
            list.InsertItem(i, Name(i), -1, 0);
        const QSize cell = list.CellSize();
        list.resize(cell.width() * 2 + 40, cell.height() * 6);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setFocus();
        const QRect first = list.visualRect(list.IndexOf(0));
        const QRect second = list.visualRect(list.IndexOf(1));
        QCOMPARE(first.top(), second.top());
        QCOMPARE(first.center().x() > second.center().x(), bRtl);
        QCOMPARE(list.indexAt(first.center()).row(), 0);

        QTest::keyClick(list.viewport(), Qt::Key_Down);
        QCOMPARE(list.currentIndex().row(), 0);
        QTest::keyClick(list.viewport(), bRtl ? Qt::Key_Left : Qt::Key_Right);
        QCOMPARE(list.currentIndex().row(), 1);

        QStyleOptionViewItem option;
        option.initFrom(&list);
        option.rect = first;
        option.text = list.GetItemText(0);
        option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        const int nameWidth = option.fontMetrics.horizontalAdvance(option.text);
        QVERIFY(nameWidth * 2 < first.width());
        const int inset = 2 + nameWidth / 2; // inside the name, from the start of the cell
        const QPoint nameStart(bRtl ? first.right() - inset : first.left() + inset,
                               first.center().y());
        const QPoint cellEnd(bRtl ? first.left() + 3 : first.right() - 3, first.center().y());
        QVERIFY(CItemLabelHitTest::IsOnLabel(&list, option, nameStart));
        QVERIFY(!CItemLabelHitTest::IsOnLabel(&list, option, cellEnd));
    }
};

QTEST_MAIN(TestListGrid)
#include "tst_listgrid.moc"

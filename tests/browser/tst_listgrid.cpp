// The small-icon list's own layout: cells flowing in rows, hit testing and cursor keys,
// first as arithmetic, then through the file list with the keyboard and the mouse.
#include "browser/CListCtrlEx.h"
#include "browser/ListGridLayout.h"
#include "tests/support/ScreenCheck.h"

#include <QScrollBar>
#include <QtTest>
#include <functional>

using Move = ListGridLayout::Move;

class TestListGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cellsFlowInRowsAsWideAsTheView() {
        const QSize cell(100, 20);
        QCOMPARE(ListGridLayout(10, cell, 350).Columns(), 3);
        QCOMPARE(ListGridLayout(10, cell, 40).Columns(), 1); // narrower than a cell
        QCOMPARE(ListGridLayout(10, cell, 0).Columns(), 1);

        const ListGridLayout grid(10, cell, 350); // rows of 3, the last holds one
        QCOMPARE(grid.Rows(), 4);
        QCOMPARE(grid.ContentSize(), QSize(300, 80));
        QCOMPARE(ListGridLayout(2, cell, 350).ContentSize(), QSize(200, 20));
        QCOMPARE(ListGridLayout(0, cell, 350).ContentSize(), QSize(100, 0));
        QCOMPARE(grid.CellRect(0), QRect(0, 0, 100, 20));
        QCOMPARE(grid.CellRect(5), QRect(200, 20, 100, 20));
        QCOMPARE(grid.CellRect(9), QRect(0, 60, 100, 20));
        QVERIFY(grid.CellRect(10).isEmpty());
        QVERIFY(grid.CellRect(-1).isEmpty());
    }

    void pointsFindTheirItemOrNone() {
        const ListGridLayout grid(10, QSize(100, 20), 350);
        QCOMPARE(grid.ItemAt(QPoint(0, 0)), 0);
        QCOMPARE(grid.ItemAt(QPoint(299, 39)), 5);
        QCOMPARE(grid.ItemAt(QPoint(99, 60)), 9);
        QCOMPARE(grid.ItemAt(QPoint(320, 5)), -1);  // right of the last column
        QCOMPARE(grid.ItemAt(QPoint(150, 65)), -1); // beside the last item
        QCOMPARE(grid.ItemAt(QPoint(10, 200)), -1); // below everything
        QCOMPARE(grid.ItemAt(QPoint(-1, 5)), -1);

        using Range = QPair<int, int>;
        QCOMPARE(grid.RowsIn(QRect(0, 25, 10, 20)), Range(3, 8)); // rows 1 and 2
        QCOMPARE(grid.RowsIn(QRect(0, -50, 10, 60)), Range(0, 2));
        QCOMPARE(grid.RowsIn(QRect(0, 70, 10, 500)), Range(9, 9));
        const Range none = grid.RowsIn(QRect(0, 100, 10, 10));
        QVERIFY(none.first > none.second);
        const Range empty = ListGridLayout(0, QSize(100, 20), 350).RowsIn(QRect(0, 0, 50, 50));
        QVERIFY(empty.first > empty.second);
    }

    void cursorKeysMoveAlongRowsAndColumns() {
        const ListGridLayout grid(10, QSize(100, 20), 350); // 0 1 2 / 3 4 5 / 6 7 8 / 9
        QCOMPARE(grid.Step(-1, Move::Down, 2), 0);          // nothing current yet: the first item
        QCOMPARE(grid.Step(2, Move::Right, 2), 3);          // the flow goes on in the next row
        QCOMPARE(grid.Step(3, Move::Left, 2), 2);
        QCOMPARE(grid.Step(0, Move::Left, 2), 0);
        QCOMPARE(grid.Step(9, Move::Right, 2), 9);
        QCOMPARE(grid.Step(4, Move::Up, 2), 1);
        QCOMPARE(grid.Step(1, Move::Up, 2), 1);
        QCOMPARE(grid.Step(4, Move::Down, 2), 7);
        QCOMPARE(grid.Step(8, Move::Down, 2), 9); // above the short last row
        QCOMPARE(grid.Step(9, Move::Down, 2), 9);
        QCOMPARE(grid.Step(1, Move::PageDown, 2), 7);
        QCOMPARE(grid.Step(5, Move::PageDown, 2), 8); // the column's last item
        QCOMPARE(grid.Step(8, Move::PageUp, 2), 2);
        QCOMPARE(grid.Step(5, Move::PageUp, 2), 2); // the column's first item
        QCOMPARE(grid.Step(5, Move::Home, 2), 0);
        QCOMPARE(grid.Step(5, Move::End, 2), 9);
        QCOMPARE(ListGridLayout(0, QSize(100, 20), 350).Step(-1, Move::Down, 2), -1);
    }

    void closingUpShowsWhatAFullPaintWould_data();
    void closingUpShowsWhatAFullPaintWould();

    // The file list through the keyboard and the mouse, wide enough for two columns.
    void fileListFollowsKeysClicksAndScrolling() {
        CListCtrlEx list;
        for (int i = 0; i < 200; ++i)
            list.InsertItem(i, QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0')), -1, 0);
        const QSize cell = list.CellSize();
        list.resize(cell.width() * 2 + 40, cell.height() * 8);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setFocus();
        QCOMPARE(list.visualRect(list.IndexOf(3)).topLeft(), QPoint(cell.width(), cell.height()));

        QTest::keyClick(list.viewport(), Qt::Key_Down); // the first press selects the first
        QCOMPARE(list.currentIndex().row(), 0);
        QTest::keyClick(list.viewport(), Qt::Key_Down);
        QCOMPARE(list.currentIndex().row(), 2);
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

        // Removing items from a scrolled list keeps the scroll range in step.
        list.scrollTo(list.IndexOf(199));
        for (int i = 0; i < 150; ++i)
            list.RemoveItem(0);
        const int rows = (list.GetItemCount() + 1) / 2;
        QCOMPARE(list.verticalScrollBar()->maximum(),
                 std::max(0, rows * cell.height() - list.viewport()->height()));
        QVERIFY(list.verticalScrollBar()->value() <= list.verticalScrollBar()->maximum());
        QCOMPARE(list.indexAt(list.visualRect(list.IndexOf(49)).center()).row(), 49);
    }
};

// Removing items moves what is on screen instead of drawing it again; wherever the item
// was (above, inside or below what is shown, current or not, with the list scrolled to
// its end) the window must show what a full paint shows.
void TestListGrid::closingUpShowsWhatAFullPaintWould_data() {
    QTest::addColumn<int>("columns");
    QTest::newRow("one column") << 1;
    QTest::newRow("three columns") << 3;
}

void TestListGrid::closingUpShowsWhatAFullPaintWould() {
    QFETCH(int, columns);
    CListCtrlEx list;
    for (int i = 0; i < 80; ++i)
        list.InsertItem(i, QStringLiteral("IMG_%1.jpg").arg(i, 4, 10, QLatin1Char('0')), -1, 0);
    const QSize cell = list.CellSize();
    list.resize(cell.width() * columns + 30, cell.height() * 10 + cell.height() / 2);
    list.show();
    QVERIFY(QTest::qWaitForWindowExposed(&list));
    list.setFocus();
    list.SelectItem(30, true);
    list.scrollTo(list.IndexOf(30), QAbstractItemView::PositionAtTop);
    const auto check = [&](const char* what) {
        return SameLook(OnScreen(*list.viewport()), FullPaint(*list.viewport())) ? QString() : what;
    };
    const auto firstShown = [&] { return list.indexAt(QPoint(1, 1)).row(); };
    struct Step {
        const char* what;
        std::function<int()> item;
    };
    const Step steps[] = {
        {"the first shown", firstShown},
        {"one in the middle", [&] { return firstShown() + 4 * columns; }},
        {"the current one", [&] { return list.currentIndex().row(); }},
        {"one above", [&] { return firstShown() - 3; }},
        {"one below", [&] { return list.GetItemCount() - 2; }},
        {"the last shown",
         [&] { return list.indexAt(QPoint(1, list.viewport()->height() - 2)).row(); }},
    };
    for (const Step& step : steps) {
        list.DeleteItem(step.item()); // without the care RemoveItem takes of the selection
        QCOMPARE(check(step.what), QString());
        list.RemoveItem(step.item());
        QCOMPARE(check(step.what), QString());
    }
    list.scrollTo(list.IndexOf(list.GetItemCount() - 1));
    for (int i = 0; i < 5; ++i) { // at the end of the list the rest moves down instead
        list.RemoveItem(list.GetItemCount() - 1 - i % 2);
        QCOMPARE(check("at the end"), QString());
    }
}

QTEST_MAIN(TestListGrid)
#include "tst_listgrid.moc"

// View > Filmstrip in the real window: the menu item and its setting, a click in the strip
// showing that picture as a click in the list does, the keys staying with the list, and
// the current picture kept in view.
#include "app/CFilmstripCommands.h"
#include "resources/CommandIds.h"
#include "sorting/session/CSortSession.h"
#include "sorting/widgets/CFilmstrip.h"
#include "tests/support/PictureDesk.h"

#include <QAction>
#include <QScrollBar>
#include <QtTest>

namespace {
// Pictures p00.jpg .. in Pics/, destination 1 "Keep".
void Lay(PictureDesk& desk, int count) {
    QDir(desk.Path("")).mkdir("Keep");
    for (int i = 0; i < count; ++i)
        desk.Picture(QStringLiteral("Pics/p%1.jpg").arg(i, 2, 10, QLatin1Char('0')), 64, 48);
    desk.Store().WriteProfileString("TargetSet01", "Target01Name", "Keep");
    desk.Store().WriteProfileString("TargetSet01", "Target01Dir", desk.Path("Keep"));
}

CFilmstrip& Strip(WindowDriver& frame) {
    return *frame.Window().findChild<CFilmstrip*>();
}

void ClickRow(CFilmstrip& strip, int row) {
    const QRect cell = strip.visualRect(strip.model()->index(row, 0));
    QTest::mouseClick(strip.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}
} // namespace

class TestFilmstrip : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_cache = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache->path()));
    }

    // A checkable item of that name, off at first; switched on it shows the strip below the
    // picture, and the next window starts with it shown.
    void menuItemShowsTheStripAndIsKept() {
        PictureDesk desk;
        Lay(desk, 3);
        WindowDriver& frame = desk.Start(desk.Path("Pics"));
        QAction* toggle = frame.Action(cmd::ID_VIEW_FILMSTRIP);
        QCOMPARE(toggle->text().remove(QLatin1Char('&')), QStringLiteral("Filmstrip"));
        QVERIFY(toggle->isCheckable());
        QVERIFY(!toggle->isChecked());
        QVERIFY(!Strip(frame).isVisible());
        toggle->trigger();
        QVERIFY(Strip(frame).isVisible());
        const QRect picture = desk.Ctrl().geometry();
        QVERIFY(picture.bottom() < Strip(frame).geometry().top());
        QCOMPARE(Strip(frame).geometry().bottom(), frame.PictureViewPane()->height() - 1);
        QCoreApplication::processEvents(); // the keeper writes a change once events run
        QCOMPARE(desk.Store().GetProfileInt("Window", "Filmstrip", 0), 1);
        desk.Start(desk.Path("Pics"));
        QVERIFY(desk.Frame().Action(cmd::ID_VIEW_FILMSTRIP)->isChecked());
        QVERIFY(Strip(desk.Frame()).isVisible());
        desk.Frame().Action(cmd::ID_VIEW_FILMSTRIP)->trigger();
        QVERIFY(!Strip(desk.Frame()).isVisible());
        QCOMPARE(desk.Ctrl().geometry().height(), desk.Frame().PictureViewPane()->height());
    }

    // A click shows the picture, makes it the session's, selects it in the list; the strip
    // never has the keys, so a digit then sorts that picture.
    void clickShowsThePictureAndTheKeysSortIt() {
        PictureDesk desk;
        Lay(desk, 3);
        WindowDriver& frame = desk.Start(desk.Path("Pics"));
        frame.Action(cmd::ID_VIEW_FILMSTRIP)->trigger();
        frame.FileList().setFocus();
        QCOMPARE(desk.Current(), QStringLiteral("p00.jpg"));
        ClickRow(Strip(frame), 2);
        QCOMPARE(desk.Current(), QStringLiteral("p02.jpg"));
        QCOMPARE(frame.Session().Current(), 2);
        QCOMPARE(desk.List().GetCurItem(), 2);
        QVERIFY(Strip(frame).selectionModel()->isRowSelected(2));
        QVERIFY(!Strip(frame).selectionModel()->isRowSelected(0));
        QVERIFY(!Strip(frame).hasFocus());
        QCOMPARE(Strip(frame).focusPolicy(), Qt::NoFocus);
        frame.Action(cmd::ID_SEND_TO_TARGET1)->trigger();
        QVERIFY(frame.Settle());
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"p02.jpg"});
        QCOMPARE(Strip(frame).model()->rowCount(), 2);
    }

    // Whatever makes a picture current, the strip scrolls it into view.
    void currentPictureKeptInView() {
        PictureDesk desk;
        Lay(desk, 60);
        WindowDriver& frame = desk.Start(desk.Path("Pics"));
        frame.Window().resize(800, 600);
        frame.Action(cmd::ID_VIEW_FILMSTRIP)->trigger();
        CFilmstrip& strip = Strip(frame);
        desk.Select(QStringLiteral("p55.jpg"));
        QVERIFY(strip.horizontalScrollBar()->value() > 0);
        const QRect cell = strip.visualRect(strip.model()->index(55, 0));
        QVERIFY(strip.viewport()->rect().contains(cell.center()));
        desk.Select(QStringLiteral("p01.jpg"));
        QVERIFY(strip.viewport()->rect().contains(
            strip.visualRect(strip.model()->index(1, 0)).center()));
        // Sorted the other way, the picture stays current and in view where it went.
        frame.Action(cmd::ID_SORT_DESCENDING)->trigger();
        QCOMPARE(desk.Listed().at(58), QStringLiteral("p01.jpg"));
        QCOMPARE(desk.Current(), QStringLiteral("p01.jpg"));
        QVERIFY(strip.viewport()->rect().contains(
            strip.visualRect(strip.model()->index(58, 0)).center()));
        QVERIFY(desk.List().viewport()->rect().contains(
            desk.List().visualRect(desk.List().IndexOf(58)).center()));
    }

private:
    std::unique_ptr<QTemporaryDir> m_cache;
};

QTEST_MAIN(TestFilmstrip)
#include "tst_filmstrip.moc"

// Several pictures chosen with Shift and Ctrl in the real window, sent with one key and
// brought back with one undo, as a person does it.
#include "tests/support/PictureDesk.h"

#include <QLabel>
#include <QMessageBox>
#include <QtTest>

namespace {
// The text of every message box shown, caught as it opens.
class BoxTexts : public QObject {
public:
    BoxTexts() { qApp->installEventFilter(this); }
    ~BoxTexts() override { qApp->removeEventFilter(this); }
    QStringList texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* box = qobject_cast<QMessageBox*>(watched))
                texts << box->text();
        return false;
    }
};
} // namespace

class TestMultiSelect : public QObject {
    Q_OBJECT

    // Pictures a.jpg ... e.jpg in the home folder, destination 1 "Keep", then the window
    // with the first picture shown and the keys in the list.
    static QWidget* Start(PictureDesk& desk) {
        QDir(desk.Path("")).mkdir("Keep");
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
            desk.Picture(QStringLiteral("Pics/") + QLatin1String(name));
        desk.Store().WriteProfileString("TargetSet01", "Target01Name", "Keep");
        desk.Store().WriteProfileString("TargetSet01", "Target01Dir", desk.Path("Keep"));
        desk.Start(desk.Path("Pics"));
        return desk.List().window();
    }
    static QString SelectionNote(QWidget* window) {
        auto* note = window->findChild<QLabel*>(QStringLiteral("selectedPictures"));
        return note && note->isVisible() ? note->text() : QString();
    }

private Q_SLOTS:
    void shiftDownGathersPicturesThatGoAndComeBackTogether() {
        PictureDesk desk;
        QWidget* window = Start(desk);
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(desk.Current(), QStringLiteral("a.jpg"));
        QTest::keyClick(&desk.List(), Qt::Key_Down); // a plain key still selects one
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        QCOMPARE(SelectionNote(window), QString());
        QTest::keyClick(&desk.List(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&desk.List(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(desk.Current(), QStringLiteral("d.jpg")); // the view shows the focused one
        QCOMPARE(SelectionNote(window), QStringLiteral("3 pictures selected"));

        QTest::keyClick(&desk.List(), Qt::Key_1);
        QVERIFY(desk.Frame().Settle());

        QCOMPARE(desk.OnDisk("Keep"), (QStringList{"b.jpg", "c.jpg", "d.jpg"}));
        QCOMPARE(desk.Current(), QStringLiteral("e.jpg"));
        QCOMPARE(SelectionNote(window), QString());

        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(desk.OnDisk("Pics").size(), 5);
        QVERIFY(desk.OnDisk("Keep").isEmpty());
    }

    // Ctrl+click adds a picture to the choice and shows it; Ctrl+A takes them all, still
    // showing the focused one; Delete sends every one of them to the trash.
    void ctrlClickAndCtrlA() {
        PictureDesk desk;
        QWidget* window = Start(desk);
        QVERIFY(QTest::qWaitForWindowActive(window));
        CPictureFileList& list = desk.List();
        const QPoint d = list.visualRect(list.IndexOf(3)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::ControlModifier, d);
        QCOMPARE(SelectionNote(window), QStringLiteral("2 pictures selected"));
        QCOMPARE(desk.Current(), QStringLiteral("d.jpg"));
        QTest::keyClick(&list, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(SelectionNote(window), QStringLiteral("5 pictures selected"));
        QCOMPARE(desk.Current(), QStringLiteral("d.jpg"));
        QTest::keyClick(&list, Qt::Key_Delete);
        QTRY_COMPARE(desk.OnDisk("data/Trash/files").size(), 5);
        QVERIFY(desk.Listed().isEmpty());
    }

    // With the trash switched off, the warning before deleting says how many go.
    void anOutrightDeleteNamesHowMany() {
        PictureDesk desk;
        desk.Store().WriteProfileInt("Config", "UseRecyclingBin", 0);
        QWidget* window = Start(desk);
        QVERIFY(QTest::qWaitForWindowActive(window));
        BoxTexts boxes;
        QTest::keyClick(&desk.List(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&desk.List(), Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(&desk.List(), Qt::Key_Delete); // the desk answers OK
        QVERIFY(desk.Frame().Settle());
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY2(boxes.texts.first().contains("3 pictures with their companion files"),
                 qPrintable(boxes.texts.first()));
        QCOMPARE(desk.OnDisk("Pics"), (QStringList{"d.jpg", "e.jpg"}));
    }
};

QTEST_MAIN(TestMultiSelect)
#include "tst_multiselect.moc"

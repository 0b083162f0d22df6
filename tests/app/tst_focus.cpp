// Where the keyboard focus is and what the window shows after each step a person takes, with
// the real window driven by its keys.
#include "app/CMainFrame.h"
#include "platform/CDialogBuilder.h"
#include "resources/CommandIds.h"
#include "resources/templates/TargetTemplate.h"
#include "sorting/CFileSelect.h"
#include "sorting/CTarget.h"
#include "sorting/CTargetButton.h"
#include "tests/support/PictureDesk.h"

#include <QAccessible>
#include <QAction>
#include <QtTest>

namespace {

// Pictures a, b, c in the home folder Pics/ and destination 1 "Keep".
void Lay(PictureDesk& desk) {
    QDir(desk.Path("")).mkdir("Keep");
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"})
        desk.Picture(QString("Pics/") + name);
    desk.Store().WriteProfileString("TargetSet01", "Target01Name", "Keep");
    desk.Store().WriteProfileString("TargetSet01", "Target01Dir", desk.Path("Keep"));
}

CMainFrame& Open(PictureDesk& desk, const QString& startupPath = QString()) {
    CMainFrame& frame = desk.Start(startupPath);
    frame.activateWindow();
    if (!QTest::qWaitForWindowActive(&frame))
        qWarning("the window did not become active");
    return frame;
}

void Press(CMainFrame& frame, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(frame.windowHandle(), key, mods);
}

// The pane that holds the keyboard focus, by its accessible name.
QString FocusedPane(CMainFrame& frame) {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget())
        if (!w->accessibleName().isEmpty() && w != &frame)
            return w->accessibleName();
    return QString();
}

} // namespace

class TestFocus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Started with a folder or a picture, the list has the keyboard with the first (or the
    // named) picture shown, so the first Down goes to the next picture, not the next folder.
    void startedWithAPathTheListHasTheKeys_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("afterDown");
        QTest::newRow("folder") << "Pics"
                                << "a.jpg"
                                << "b.jpg";
        QTest::newRow("picture") << "Pics/b.jpg"
                                 << "b.jpg"
                                 << "c.jpg";
    }
    void startedWithAPathTheListHasTheKeys() {
        QFETCH(QString, start);
        QFETCH(QString, shown);
        QFETCH(QString, afterDown);
        PictureDesk desk;
        Lay(desk);
        QDir(desk.Path("Pics")).mkdir("Sub");
        CMainFrame& frame = Open(desk, desk.Path(start));
        QVERIFY(desk.List().hasFocus());
        QCOMPARE(desk.Current(), shown);
        QVERIFY(desk.Ctrl().isVisible());
        Press(frame, Qt::Key_Down);
        QCOMPARE(desk.Current(), afterDown);
        QCOMPARE(QFileInfo(desk.List().m_strCurFile).absolutePath(), desk.Path("Pics"));
    }

    // Undo brings the picture back into the list with the keys; Redo sends it away again
    // and shows the one after it, so that Down goes on from there.
    void undoAndRedoLeaveTheListReady() {
        PictureDesk desk;
        Lay(desk);
        CMainFrame& frame = Open(desk, desk.Path("Pics"));
        Press(frame, Qt::Key_1);
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"a.jpg"});
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        frame.TargetPane()->TargetButton(0)->setFocus(); // somewhere else
        Press(frame, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(desk.Current(), QStringLiteral("a.jpg"));
        QVERIFY(desk.List().hasFocus());
        Press(frame, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"a.jpg"});
        QCOMPARE(desk.Current(), QStringLiteral("b.jpg"));
        QVERIFY(desk.Ctrl().isVisible());
        QVERIFY(desk.List().hasFocus());
        Press(frame, Qt::Key_Down);
        QCOMPARE(desk.Current(), QStringLiteral("c.jpg"));
    }

    // Space fits the picture or shows it at its own size wherever the focus is, also on a
    // destination button; Return presses the button.
    void spaceTogglesFitInEveryPane() {
        PictureDesk desk;
        Lay(desk);
        CMainFrame& frame = Open(desk, desk.Path("Pics"));
        QAction* fit = frame.Action(cmd::ID_TOGGLE_RESIZE);
        CTarget* bar = frame.TargetPane();
        QList<QWidget*> places{&desk.List(), &frame.FileSelectPane()->m_treeFolders,
                               bar->TargetButton(0), CDialogBuilder::Control(bar, dlg::IDC_DELETE),
                               CDialogBuilder::Control(bar, dlg::IDC_HOME)};
        for (QWidget* place : places) {
            place->setFocus();
            QVERIFY2(place->hasFocus(), qPrintable(place->objectName()));
            const bool bBefore = fit->isChecked();
            Press(frame, Qt::Key_Space);
            QCOMPARE(fit->isChecked(), !bBefore);
            QCOMPARE(frame.Settings().GetFitPicToWindow() != 0, !bBefore);
        }
        QCOMPARE(desk.OnDisk("Keep"), QStringList());
        QCOMPARE(desk.Listed().size(), 3);
        bar->TargetButton(0)->setFocus();
        Press(frame, Qt::Key_Return);
        QCOMPARE(desk.OnDisk("Keep"), QStringList{"a.jpg"});
        QVERIFY(desk.List().hasFocus());
    }

    // F6 goes round the four panes, Shift+F6 the other way; each has its name, and the one
    // with the focus is framed in the highlight colour.
    void f6CyclesThroughTheNamedPanes() {
        PictureDesk desk;
        Lay(desk);
        CMainFrame& frame = Open(desk, desk.Path("Pics"));
        const QStringList order{"Pictures", "Picture", "Destinations", "Folders"};
        QCOMPARE(FocusedPane(frame), QStringLiteral("Pictures"));
        for (const QString& pane : order.mid(1) + order.mid(0, 1)) {
            Press(frame, Qt::Key_F6);
            QCOMPARE(FocusedPane(frame), pane);
        }
        for (const char* pane : {"Folders", "Destinations", "Picture", "Pictures"}) {
            Press(frame, Qt::Key_F6, Qt::ShiftModifier);
            QCOMPARE(FocusedPane(frame), pane);
        }
    }

    void panesAreNamedForScreenReaders() {
        PictureDesk desk;
        Lay(desk);
        CMainFrame& frame = Open(desk, desk.Path("Pics"));
        const QList<QPair<QWidget*, QString>> panes{
            {&frame.FileSelectPane()->m_treeFolders, "Folders"},
            {&desk.List(), "Pictures"},
            {frame.PictureViewPane(), "Picture"},
            {frame.TargetPane(), "Destinations"}};
        for (const auto& [pane, name] : panes) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(pane);
            QVERIFY(face);
            QCOMPARE(face->text(QAccessible::Name), name);
        }
    }
};

QTEST_MAIN(TestFocus)
#include "tst_focus.moc"

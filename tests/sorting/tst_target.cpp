// The destination button bar hosted in a small window of the test's own.
#include "platform/ui/CButtonTabBar.h"
#include "platform/ui/CDialogBuilder.h"
#include "resources/templates/TargetTemplate.h"
#include "settings/CSettings.h"
#include "sorting/widgets/CTarget.h"
#include "sorting/widgets/CTargetButton.h"
#include "tests/support/ModalDriver.h"
#include "tests/support/TestSupport.h"

#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

// The bar beside a list, with the settings it shows; its signals are recorded.
class TestFrame : public QWidget {
public:
    TestFrame() {
        settings.Load(profile.Store());
        list = new QListWidget(this);
        list->setGeometry(0, 0, 200, 500);
        target = new CTarget(this);
        target->setGeometry(200, 0, 103, 500);
        target->SetSettings(&settings);
        connect(target, &CTarget::SendToTarget, this, [this](int n) { sent.append(n); });
        connect(target, &CTarget::DeletePicture, this, [this] { ++deletes; });
        resize(303, 500);
    }

    TempProfile profile;
    CSettings settings;
    QListWidget* list;
    CTarget* target;
    QList<int> sent;
    int deletes = 0;
};

} // namespace

// Where a picture of a button is inked: its dark pixels, as rows of '#' and '.'; the face
// below them may be shaded differently on either side.
QStringList Ink(const QImage& image) {
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x)
            row += qGray(image.pixel(x, y)) < 180 ? QLatin1Char('#') : QLatin1Char('.');
        rows << row;
    }
    return rows;
}

class TestTarget : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_frame = std::make_unique<TestFrame>();
        m_frame->target->OnInitialUpdate();
        m_frame->show();
        QVERIFY(QTest::qWaitForWindowActive(m_frame.get()));
    }
    void cleanup() { m_frame.reset(); }

    void tabsChooseTheGroup() {
        CSettings& s = m_frame->settings;
        s.SetSelectionSet(1);
        s.SetTargetName(4, "Holidays");
        s.SetTargetDir(4, "/pics/holidays");
        s.SetTargetName(5, "Named only");
        s.SetTargetDir(6, "/pics/unnamed");
        s.SetHomeDirectory("/pics");
        s.SetSelectionSet(0);
        m_frame->target->UpdateButtons();
        QVERIFY(Target(4)->IsUnset());

        CButtonTabBar* tabs = m_frame->target->TabGroups();
        QCOMPARE(tabs->focusPolicy(), Qt::NoFocus); // the digits stay with the window
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QCOMPARE(s.GetSelectionSet(), 1);
        QCOMPARE(Button(1104)->text(), QStringLiteral("Holidays"));
        QVERIFY(!Target(4)->IsUnset());
        QVERIFY(Target(5)->IsUnset()); // a name is not a directory
        QCOMPARE(Button(1106)->text(), QStringLiteral("< None >"));
        QVERIFY(!Target(6)->IsUnset());
        QVERIFY(Button(dlg::IDC_HOME)->isEnabled());

        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
        QCOMPARE(s.GetSelectionSet(), 2);
        QCOMPARE(Button(1104)->text(), QStringLiteral("< None >"));
        QVERIFY(Target(4)->IsUnset());
        QVERIFY(!Button(dlg::IDC_HOME)->isEnabled());
    }

    // The mode label stands beside the tabs, never over one, either way round.
    void modeLabelKeepsClearOfTheTabs_data() {
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::newRow("left to right") << Qt::LeftToRight;
        QTest::newRow("right to left") << Qt::RightToLeft;
    }
    void modeLabelKeepsClearOfTheTabs() {
        QFETCH(Qt::LayoutDirection, direction);
        CTarget* t = m_frame->target;
        t->setLayoutDirection(direction);
        t->resize(103, 499);
        t->resize(103, 500);
        auto* label = t->findChild<QLabel*>(QStringLiteral("modeLabel"));
        QVERIFY(label && label->width() > 0);
        CButtonTabBar* tabs = t->TabGroups();
        for (int i = 0; i < tabs->count(); ++i) {
            const QRect tab = tabs->tabRect(i).translated(tabs->pos());
            QVERIFY2(!label->geometry().intersects(tab), qPrintable(QString::number(i)));
        }
    }

    void clicksAreAnnounced() {
        m_frame->settings.SetTargetDir(0, "/pics/a");
        m_frame->settings.SetTargetDir(19, "/pics/t");
        m_frame->settings.SetHomeDirectory("/pics");
        m_frame->target->UpdateButtons();
        for (int id : {1100, 1119, int(dlg::IDC_HOME), int(dlg::IDC_DELETE)})
            QTest::mouseClick(Button(id), Qt::LeftButton);
        QCOMPARE(m_frame->sent, (QList<int>{0, 19, 20}));
        QCOMPARE(m_frame->deletes, 1);
        // An unset destination sends nothing: it asks for its folder instead.
        QSignalSpy setFolder(m_frame->target, &CTarget::SetFolderRequested);
        QTest::mouseClick(Button(1105), Qt::LeftButton);
        QCOMPARE(m_frame->sent.size(), 3);
        QCOMPARE(setFolder.count(), 1);
        QCOMPARE(setFolder.at(0).at(0).toInt(), 5);
    }

    // Reached with Tab, a button is pressed by Return and Enter. Space is not the button's:
    // the window's accelerator for it fires and the button stays unpressed.
    void focusedButtonsPressWithReturnNotSpace() {
        auto* space = new QAction(m_frame.get());
        space->setShortcut(Qt::Key_Space);
        m_frame->addAction(space);
        QSignalSpy spaceShortcut(space, &QAction::triggered);
        m_frame->settings.SetTargetDir(2, "/pics/c");
        m_frame->target->UpdateButtons();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
            Button(1102)->setFocus(Qt::TabFocusReason);
            QVERIFY(Button(1102)->hasFocus());
            QTest::keyClick(m_frame->windowHandle(), key);
        }
        QCOMPARE(m_frame->sent, (QList<int>{2, 2}));
        QCOMPARE(spaceShortcut.count(), 1);
        // Without an accelerator for it, Space still presses nothing.
        m_frame->removeAction(space);
        QTest::keyClick(m_frame->windowHandle(), Qt::Key_Space);
        QCOMPARE(m_frame->sent.size(), 2);
        Button(dlg::IDC_DELETE)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(m_frame->windowHandle(), Qt::Key_Space);
        QCOMPARE(m_frame->deletes, 0);
        QTest::keyClick(m_frame->windowHandle(), Qt::Key_Return);
        QCOMPARE(m_frame->deletes, 1);
    }

    // The focus frame is drawn in the highlight colour, plain to see, and only with focus.
    void focusedButtonShowsAFrame() {
        const QColor highlight =
            Button(1100)->palette().color(QPalette::Active, QPalette::Highlight);
        const auto framePixels = [&] {
            const QImage image = Button(1100)->grab().toImage();
            int n = 0;
            for (int x = 0; x < image.width(); ++x)
                n += image.pixelColor(x, 2) == highlight;
            return n;
        };
        m_frame->list->setFocus();
        QCOMPARE(framePixels(), 0);
        Button(1100)->setFocus(Qt::TabFocusReason);
        QVERIFY(framePixels() > Button(1100)->width() / 2);
    }

    // Each destination shows its key, dimmer, at its left; its tooltip names the key, the
    // destination and its folder; a long name loses its end, never its beginning.
    void buttonsShowKeysTooltipsAndElidedNames() {
        const struct {
            int i;
            const char* label;
            const char* key;
        } keys[] = {{0, "1", "1"},
                    {8, "9", "9"},
                    {9, "0", "0"},
                    {10, "^1", "Ctrl+1"},
                    {19, "^0", "Ctrl+0"}};
        for (const auto& k : keys) {
            QCOMPARE(Target(k.i)->KeyText(), QString::fromLatin1(k.label));
            QVERIFY2(Target(k.i)->toolTip().startsWith(QString::fromLatin1(k.key) + ": "),
                     qPrintable(Target(k.i)->toolTip()));
        }
        CSettings& s = m_frame->settings;
        const QString longName = QStringLiteral("Holidays in the mountains, summer");
        s.SetTargetName(1, longName);
        s.SetTargetDir(1, "/pics/holidays/mountains");
        s.SetTargetName(2, "Cats");
        s.SetTargetDir(2, "/pics/cats");
        m_frame->target->UpdateButtons();
        QCOMPARE(Target(1)->toolTip(),
                 QStringLiteral("2: %1\n/pics/holidays/mountains").arg(longName));
        QCOMPARE(Target(1)->text(), longName); // what screen readers are told stays whole
        const QString shown = Target(1)->ShownName();
        QVERIFY2(shown.endsWith(QChar(0x2026)) && shown.size() > 3, qPrintable(shown));
        QVERIFY(longName.startsWith(shown.chopped(1)));
        QCOMPARE(Target(2)->ShownName(), QStringLiteral("Cats"));
        QVERIFY(Target(5)->toolTip().contains(QStringLiteral("click to choose")));
    }

    // Right to left the key stands at the button's right and still reads "^1", the same
    // picture as left to right; the name keeps clear of it.
    void keyHintReadsTheSameRightToLeft() {
        CTargetButton ltr(QStringLiteral("Keep"), nullptr);
        CTargetButton rtl(QStringLiteral("Keep"), nullptr);
        rtl.setLayoutDirection(Qt::RightToLeft);
        for (CTargetButton* b : {&ltr, &rtl}) {
            b->SetKeyText(QStringLiteral("^1"));
            b->resize(103, 20);
        }
        const QRect l = ltr.KeyRect();
        const QRect r = rtl.KeyRect();
        QVERIFY(l.width() > 0);
        QCOMPARE(r.size(), l.size());
        QCOMPARE(rtl.width() - 1 - r.right(), l.left());
        QVERIFY(!rtl.NameRect().intersects(r) && !ltr.NameRect().intersects(l));
        QCOMPARE(Ink(rtl.grab(r).toImage()), Ink(ltr.grab(l).toImage()));
    }

    // The context menu offers the four set-up commands; Open Folder and Clear only for a set
    // destination. A folder dropped on a button is offered as its new folder; a file is not.
    void contextMenuAndDropAskTheFrame() {
        m_frame->settings.SetTargetDir(3, "/pics/d");
        m_frame->target->UpdateButtons();
        const auto menuOf = [&](int i, const QString& choose) {
            ModalDriver driver;
            driver.ChooseFromNextMenu(choose);
            Q_EMIT Target(i)->customContextMenuRequested(QPoint(5, 5));
            return driver.m_menuTexts;
        };
        QSignalSpy clear(m_frame->target, &CTarget::ClearRequested);
        QSignalSpy rename(m_frame->target, &CTarget::RenameRequested);
        QCOMPARE(menuOf(3, "Clear"),
                 (QStringList{"Set Folder...", "Rename...", "Open Folder", "Clear"}));
        QCOMPARE(menuOf(4, "Rename..."),
                 (QStringList{"Set Folder...", "Rename...", "Open Folder (off)", "Clear (off)"}));
        QCOMPARE(clear.count(), 1);
        QCOMPARE(clear.at(0).at(0).toInt(), 3);
        QCOMPARE(rename.at(0).at(0).toInt(), 4);

        QTemporaryDir dir;
        QFile file(dir.filePath("a.jpg"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QSignalSpy dropped(m_frame->target, &CTarget::FolderDropped);
        // A file manager that offers a move is answered with a link or a copy, never a move,
        // so it never removes the folder.
        for (const QString& path : {dir.path(), file.fileName()}) {
            QMimeData mime;
            mime.setUrls({QUrl::fromLocalFile(path)});
            QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction | Qt::CopyAction, &mime,
                                  Qt::LeftButton, {});
            QApplication::sendEvent(Target(7), &enter);
            QCOMPARE(enter.isAccepted(), path == dir.path());
            QDropEvent drop(QPointF(5, 5), Qt::MoveAction | Qt::LinkAction, &mime, Qt::LeftButton,
                            {});
            QApplication::sendEvent(Target(7), &drop);
            if (path == dir.path()) {
                QCOMPARE(enter.dropAction(), Qt::CopyAction);
                QCOMPARE(drop.dropAction(), Qt::LinkAction);
            }
        }
        QMimeData moveOnly;
        moveOnly.setUrls({QUrl::fromLocalFile(dir.path())});
        QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &moveOnly, Qt::LeftButton, {});
        QApplication::sendEvent(Target(7), &enter);
        QVERIFY(!enter.isAccepted());
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.at(0).at(0).toInt(), 7);
        QCOMPARE(dropped.at(0).at(1).toString(), QDir(dir.path()).absolutePath());
    }

private:
    CTargetButton* Target(int i) const { return m_frame->target->TargetButton(i); }
    QPushButton* Button(int id) const {
        return CDialogBuilder::ControlAs<QPushButton>(m_frame->target, id);
    }
    std::unique_ptr<TestFrame> m_frame;
};

QTEST_MAIN(TestTarget)
#include "tst_target.moc"

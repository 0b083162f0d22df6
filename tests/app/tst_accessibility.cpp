// What a screen reader is told about the main window: the file list with its names and
// its current item, the status texts and the caption, the destination buttons and the
// folder tree, read through the same interfaces the desktop's accessibility bridge reads.
#include "browser/namespace/CNamespaceTreeView.h"
#include "resources/templates/TargetTemplate.h"
#include "sorting/widgets/CTarget.h"
#include "tests/support/PictureDesk.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

namespace {
QAccessibleInterface* Of(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// The names of an interface's children, in order.
QStringList ChildNames(QAccessibleInterface* iface) {
    QStringList names;
    for (int i = 0; i < iface->childCount(); ++i)
        names << iface->child(i)->text(QAccessible::Name);
    return names;
}

// The child of `iface` named `name`, or null.
QAccessibleInterface* ChildNamed(QAccessibleInterface* iface, const QString& name) {
    for (int i = 0; i < iface->childCount(); ++i)
        if (iface->child(i)->text(QAccessible::Name) == name)
            return iface->child(i);
    return nullptr;
}

const QString kArabic = QString::fromUtf8("\xd8\xb5\xd9\x88\xd8\xb1\xd8\xa9.jpg");
const QString kHindi = QString::fromUtf8("\xe0\xa4\xa4\xe0\xa4\xb8\xe0\xa5\x8d\xe0\xa4\xb5\xe0"
                                         "\xa5\x80\xe0\xa4\xb0.jpg");
} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QAccessible::setActive(true); }

    void fileListIsAListOfNamedItemsWithItsCurrentOneSelected() {
        PictureDesk desk;
        for (const QString& name : {QStringLiteral("a.jpg"), kArabic, kHindi})
            QVERIFY(desk.Picture("Pics/" + name));
        desk.Start();
        QAccessibleInterface* list = Of(&desk.List());
        QVERIFY(list);
        QCOMPARE(list->role(), QAccessible::List);
        QVERIFY(!list->text(QAccessible::Name).isEmpty());
        QCOMPARE(ChildNames(list), desk.Listed());
        QVERIFY(ChildNames(list).contains(kArabic) && ChildNames(list).contains(kHindi));
        QCOMPARE(list->child(0)->role(), QAccessible::ListItem);

        desk.Select(kHindi);
        const int current = desk.List().m_nCurItem;
        for (int i = 0; i < list->childCount(); ++i)
            QCOMPARE(bool(list->child(i)->state().selected), i == current);
        QVERIFY(list->child(current)->state().focusable);

        // After a move the next file is the selected one, and the gone one is not listed.
        desk.Frame().Delete();
        QCOMPARE(list->childCount(), 2);
        QVERIFY(!ChildNames(list).contains(kHindi));
        const int next = desk.List().m_nCurItem;
        QVERIFY(next >= 0);
        QVERIFY(list->child(next)->state().selected);
    }

    void statusTextsAndCaptionAreReadable() {
        PictureDesk desk;
        QVERIFY(desk.Picture("Pics/" + kArabic, 64, 48));
        WindowDriver& frame = desk.Start();
        desk.Select(kArabic);
        QAccessibleInterface* bar = Of(frame.Window().statusBar());
        QVERIFY(bar);
        QCOMPARE(bar->role(), QAccessible::StatusBar);
        const QStringList texts = ChildNames(bar);
        QVERIFY2(texts.contains(frame.StatusPaneText(0)), qPrintable(texts.join('|')));
        QVERIFY(frame.StatusPaneText(0).contains(kArabic)); // the name as it is
        QVERIFY(texts.contains(QStringLiteral("1 files")));
        QAccessibleInterface* pane = ChildNamed(bar, frame.StatusPaneText(0));
        QCOMPARE(pane->role(), QAccessible::StaticText);

        QAccessibleInterface* window = Of(&frame.Window());
        QCOMPARE(window->text(QAccessible::Name), QString(" " + kArabic + " - Vantrel"));
    }

    // Each destination is named as its button reads and tells its folder.
    void destinationButtonsAndFoldersAreNamed() {
        PictureDesk desk;
        CProfileStore& store = desk.Store();
        store.WriteProfileString("TargetSet01", "Target01Name", "Keep");
        store.WriteProfileString("TargetSet01", "Target01Dir", desk.Path("Keep"));
        store.WriteProfileString("TargetSet01", "Target02Dir", desk.Path("Unnamed"));
        WindowDriver& frame = desk.Start();
        CTarget* target = frame.TargetPane();
        const auto button = [&](int id) {
            return Of(target->findChild<QPushButton*>(QStringLiteral("ctl%1").arg(id)));
        };
        QCOMPARE(button(dlg::IDC_DELETE)->text(QAccessible::Name), QStringLiteral("Delete"));
        QCOMPARE(button(dlg::IDC_HOME)->text(QAccessible::Name), QStringLiteral("Home"));
        QCOMPARE(button(dlg::IDC_TARGET1)->role(), QAccessible::Button);
        QCOMPARE(button(dlg::IDC_TARGET1)->text(QAccessible::Name), QStringLiteral("Keep"));
        QVERIFY(
            button(dlg::IDC_TARGET1)->text(QAccessible::Description).contains(desk.Path("Keep")));
        QAccessibleInterface* unnamed = button(dlg::IDC_TARGET1 + 1);
        QCOMPARE(unnamed->text(QAccessible::Name),
                 target->findChild<QPushButton*>(QStringLiteral("ctl%1").arg(dlg::IDC_TARGET1 + 1))
                     ->text());
        QVERIFY(!unnamed->text(QAccessible::Name).isEmpty());
        QVERIFY(unnamed->text(QAccessible::Description).contains(desk.Path("Unnamed")));
        QVERIFY(!button(dlg::IDC_TARGET1 + 2)->text(QAccessible::Description).isEmpty());

        auto* tree = frame.Window().findChild<CNamespaceTreeView*>();
        QAccessibleInterface* folders = Of(tree);
        QCOMPARE(folders->role(), QAccessible::Tree);
        QVERIFY(!folders->text(QAccessible::Name).isEmpty());
        // The walk to the home folder expanded every folder on the way; each is named.
        const QStringList names = ChildNames(folders);
        QVERIFY2(names.contains(QStringLiteral("Computer")), qPrintable(names.join('|')));
        QVERIFY2(names.contains(QStringLiteral("Pics")), qPrintable(names.join('|')));
        QAccessibleInterface* pics = folders->child(int(names.indexOf(QStringLiteral("Pics"))));
        QCOMPARE(pics->role(), QAccessible::TreeItem);
        QVERIFY(pics->state().selected);
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"

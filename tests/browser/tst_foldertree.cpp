// The folder tree as a person uses it: hidden folders left out, a folder dragged out of it
// not opened, a deep folder's name scrolled into sight.
#include "tests/browser/BrowserHost.h"
#include "tests/support/NativeTempDir.h"
#include "tests/support/ShellLeakCheck.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QScrollBar>
#include <QtTest>
#include <filesystem>
#include <memory>

class TestFolderTree : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_home.isValid() && m_root.isValid());
        qputenv("HOME", m_home.NativePath());
        for (const char* dir : {"tree/alpha/xray", "tree/bravo", "tree/deep/one/two/three",
                                "hide/.git/objects", "hide/visible"})
            QVERIFY(std::filesystem::create_directories(Dir(dir).toStdString()));
        for (const char* file : {"tree/alpha/file.jpg", "hide/.dot.jpg", "hide/shown.jpg"})
            QVERIFY(WriteBytes(Dir(file), ""));
    }
    void init() {
        m_leaks = ShellLeakCheck();
        m_host = std::make_unique<BrowserHost>();
    }
    void cleanup() {
        m_host.reset();
        m_leaks.Verify();
    }

    // Names that begin with a dot are hidden: neither the tree nor the list shows them.
    void hiddenFoldersAndFilesAreLeftOut() {
        Show("hide");
        QCOMPARE(m_host->CurrentText(), QStringLiteral("hide"));
        QCOMPARE(m_host->Tree().currentItem()->childCount(), 1);
        QVERIFY(m_host->Child("visible"));
        QCOMPARE(List().Texts(), (QStringList{"visible", "shown.jpg"}));
    }

    // A folder dragged out of the tree (onto a destination button) is not opened: the tree
    // keeps its selection and the list its folder. A plain click still opens a folder.
    void draggingAFolderLeavesTheListAlone() {
        CNamespaceTreeView& tree = m_host->Tree();
        tree.SelectPath(TreeDir());
        QTreeWidgetItem* shown = tree.currentItem();
        const QStringList listed = List().Texts();
        const int filled = List().m_nListFilled;
        QWidget* viewport = tree.viewport();
        const QRect alpha = tree.visualItemRect(m_host->Child("alpha"));
        const QPoint from(alpha.left() + OnTreeLabel(), alpha.center().y());
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        const QPoint to = from + QPoint(0, 3 * QApplication::startDragDistance());
        QTest::mouseMove(viewport, from + QPoint(0, 1)); // the view gets ready to drag,
        QTest::mouseMove(viewport, to);                  // then drags (to no drop target)
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        QCOMPARE(tree.currentItem(), shown);
        QCOMPARE(List().Texts(), listed);
        QCOMPARE(List().m_nListFilled, filled);

        const QRect bravo = tree.visualItemRect(m_host->Child("bravo"));
        QTest::mouseClick(viewport, Qt::LeftButton, {},
                          QPoint(bravo.left() + OnTreeLabel(), bravo.center().y()));
        QCOMPARE(m_host->CurrentText(), QStringLiteral("bravo"));
        QCOMPARE(List().m_nListFilled, filled + 1);
    }

    // A walk scrolls the tree to its folder: up or down, and sideways only when the folder's
    // name would not show (deep in a hierarchy), either way round; a sideways position the
    // user chose stays where the name shows.
    void walkShowsTheFoldersName_data() {
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::newRow("left to right") << Qt::LeftToRight;
        QTest::newRow("right to left") << Qt::RightToLeft;
    }
    void walkShowsTheFoldersName() {
        QFETCH(Qt::LayoutDirection, direction);
        CNamespaceTreeView& tree = m_host->Tree();
        m_host->setLayoutDirection(direction);
        m_host->resize(120, 700);
        QScrollBar* sideways = tree.horizontalScrollBar();
        tree.SelectPath(TreeDir("deep/one/two/three"));
        QCoreApplication::processEvents(); // the walk shows its folder once the tree is laid out
        QVERIFY(sideways->maximum() > 0);
        QVERIFY2(LabelShows(tree), qPrintable(QString::number(sideways->value())));
        QVERIFY(sideways->value() > 0);

        sideways->setValue(sideways->value() - 2);
        const int chosen = sideways->value();
        tree.SelectPath(TreeDir("deep/one/two"));
        QCoreApplication::processEvents();
        QCOMPARE(sideways->value(), chosen);
        QVERIFY(LabelShows(tree));
        const QRect shown = tree.visualItemRect(tree.currentItem()); // scrolled to vertically
        QVERIFY(shown.top() >= 0 && shown.bottom() < tree.viewport()->height());
        m_host->setLayoutDirection(Qt::LeftToRight);
    }

private:
    QByteArray Dir(const QByteArray& rel) const { return m_root.NativePath() + '/' + rel; }
    QString TreeDir(const QString& rel = QString()) const {
        return m_root.path() + "/tree" + (rel.isEmpty() ? QString() : '/' + rel);
    }
    CRecordingListView& List() { return m_host->List(); }
    void Show(const QByteArray& rel) { m_host->Tree().SelectPath(QFile::decodeName(Dir(rel))); }
    // The current folder's icon and name lie whole inside the tree's visible width.
    static bool LabelShows(CNamespaceTreeView& tree) {
        const QModelIndex index = tree.currentIndex();
        const QRect cell = tree.visualRect(index);
        const int label = tree.sizeHintForIndex(index).width();
        const int room = tree.viewport()->width();
        const int lead = tree.isRightToLeft() ? room - 1 - cell.right() : cell.left();
        return lead >= 0 && lead + label <= room;
    }
    int OnTreeLabel() const {
        return m_host->Tree().style()->pixelMetric(QStyle::PM_SmallIconSize) + 14;
    }

    NativeTempDir m_home;
    NativeTempDir m_root;
    ShellLeakCheck m_leaks;
    std::unique_ptr<BrowserHost> m_host;
};

QTEST_MAIN(TestFolderTree)
#include "tst_foldertree.moc"

// The file list draws its items from cached cell pictures and repaints its scroll bar only
// around the handle. Both must leave exactly the pixels a plain paint would.
#include "browser/CListCellComposer.h"
#include "browser/CListItemDelegate.h"
#include "browser/CListScrollBar.h"
#include "tests/support/ScreenCheck.h"

#include <QApplication>
#include <QListView>
#include <QPainter>
#include <QScreen>
#include <QStandardItemModel>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QtTest>

namespace {
// A small-icon list as the file list lays it out, over a model of its own. The file list
// gives every item the size of its grid cell; items of their own size may reach into the
// next cell.
struct IconList {
    struct View : QListView {
        using QListView::initViewItemOption; // the option the view gives its items
    };
    QStandardItemModel model;
    View view;

    explicit IconList(bool bGridSizedItems = true) {
        view.setModel(&model);
        view.setViewMode(QListView::ListMode);
        view.setFlow(QListView::LeftToRight);
        view.setWrapping(true);
        view.setUniformItemSizes(true);
        view.setTextElideMode(Qt::ElideMiddle);
        view.setGridSize(QSize(120, 22));
        view.resize(260, 200);
        const QIcon icons[] = {view.style()->standardIcon(QStyle::SP_FileIcon),
                               view.style()->standardIcon(QStyle::SP_DirIcon)};
        const QStringList names = {"IMG_0001.jpg", "Holiday pictures",
                                   "a.jpg",        "a rather long name that must be shortened.jpeg",
                                   "IMG_0002.jpg", "Ünïcödé.png",
                                   "IMG_0001.jpg"};
        for (int i = 0; i < names.size(); ++i) {
            auto* item = new QStandardItem(icons[i % 2], names[i]);
            if (bGridSizedItems)
                item->setSizeHint(view.gridSize());
            model.appendRow(item);
        }
    }
    // Draws the list through the caching delegate, and shows it.
    CListItemDelegate* ShowCached() {
        auto* delegate = new CListItemDelegate(&view);
        delegate->SetCellSize(view.gridSize());
        view.setItemDelegate(delegate);
        view.show();
        return delegate;
    }
    QImage Paint() { return view.viewport()->grab().toImage(); }
    // The same list drawn by the style alone.
    QImage PaintByStyle() {
        QStyledItemDelegate plain;
        QAbstractItemDelegate* cached = view.itemDelegate();
        view.setItemDelegate(&plain);
        const QImage image = Paint();
        view.setItemDelegate(cached);
        return image;
    }
};

} // namespace

class TestListPainting : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cachedCellsMatchTheStyleInEveryState() {
        IconList list;
        CListItemDelegate* delegate = list.ShowCached();
        QVERIFY(QTest::qWaitForWindowExposed(&list.view));
        list.view.setFocus();
        list.view.setCurrentIndex(list.model.index(2, 0));

        const QImage first = list.Paint(); // draws every cell into the cache
        QVERIFY(delegate->CachedCells() >= list.model.rowCount());
        QCOMPARE(list.Paint(), first); // and now copies them
        QVERIFY(SameLook(first, list.PaintByStyle()));

        // A renamed item, another selection, a removed row: no stale cell is reused.
        list.model.item(1)->setText(QStringLiteral("Renamed folder"));
        list.view.setCurrentIndex(list.model.index(4, 0));
        list.model.removeRow(0);
        QVERIFY(SameLook(list.Paint(), list.PaintByStyle()));

        // Same name, other icon: a cell of its own.
        list.model.item(0)->setIcon(list.view.style()->standardIcon(QStyle::SP_TrashIcon));
        QVERIFY(SameLook(list.Paint(), list.PaintByStyle()));

        // Without the focus, and disabled: other looks, still the style's.
        list.view.clearFocus();
        QVERIFY(SameLook(list.Paint(), list.PaintByStyle()));
        list.view.setEnabled(false);
        QVERIFY(SameLook(list.Paint(), list.PaintByStyle()));
    }

    // The quick way of drawing a new cell against the style itself, in every state the list
    // shows, for a short name and one that is shortened.
    void composedCellsMatchTheStyle() {
        IconList list;
        list.view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list.view));
        struct Probe : QStyledItemDelegate {
            void Init(QStyleOptionViewItem* option, const QModelIndex& index) const {
                initStyleOption(option, index);
            }
        } probe;
        CListCellComposer composer;
        const QStyle::State on = QStyle::State_Enabled | QStyle::State_Active;
        const QStyle::State states[] = {
            on, on | QStyle::State_Selected, on | QStyle::State_Selected | QStyle::State_HasFocus,
            QStyle::State_Enabled | QStyle::State_Selected, QStyle::State_None};
        for (const QStyle::State state : states) {
            for (const int row : {0, 3}) {
                QStyleOptionViewItem option;
                list.view.initViewItemOption(&option);
                option.rect = QRect(QPoint(0, 0), list.view.gridSize());
                option.state = state;
                const QModelIndex index = list.model.index(row, 0);
                QStyleOptionViewItem item = option;
                probe.Init(&item, index);
                QCOMPARE(composer.VerdictFor(item), CListCellComposer::Verdict::Unknown);

                QImage byStyle(option.rect.size(), QImage::Format_RGB32);
                // The list's background for this state: what a cell is drawn over.
                const QPalette::ColorGroup group =
                    !(state & QStyle::State_Enabled)
                        ? QPalette::Disabled
                        : (state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive);
                byStyle.fill(option.palette.color(group, QPalette::Base));
                QImage composed = byStyle;
                QPainter style(&byStyle);
                probe.paint(&style, option, index);
                style.end();
                QPainter quick(&composed);
                composer.Compose(quick, item);
                quick.end();
                QVERIFY2(SameLook(composed, byStyle), qPrintable(item.text));
            }
        }
        QStyleOptionViewItem shaped;
        shaped.text = QString::fromUtf8("\xd8\xb5\xd9\x88\xd8\xb1\xd8\xa9.jpg");
        shaped.features = QStyleOptionViewItem::HasDisplay;
        QCOMPARE(composer.VerdictFor(shaped), CListCellComposer::Verdict::StyleOnly);
    }

    void aNewFontOrPaletteStartsTheCacheAgain() {
        IconList list;
        list.ShowCached();
        QVERIFY(QTest::qWaitForWindowExposed(&list.view));
        list.Paint();
        QFont font = list.view.font();
        font.setPointSize(font.pointSize() + 1);
        list.view.setFont(font);
        QVERIFY(SameLook(list.Paint(), list.PaintByStyle()));
        QPalette palette = list.view.palette();
        palette.setColor(QPalette::Base, QColor(250, 240, 200));
        palette.setColor(QPalette::Text, QColor(120, 0, 0));
        list.view.setPalette(palette);
        QVERIFY(SameLook(list.Paint(), list.PaintByStyle()));

        // Items larger than their grid cell overlap; those are drawn in place.
        IconList loose(false);
        CListItemDelegate* delegate = loose.ShowCached();
        QVERIFY(QTest::qWaitForWindowExposed(&loose.view));
        QVERIFY(SameLook(loose.Paint(), loose.PaintByStyle()));
        QCOMPARE(delegate->CachedCells(), 0);
    }

    // Shrinking the range row by row, as sorting does: the handle grows and moves; what is
    // on screen after each step is what a full paint shows, and a step that leaves the
    // handle where it was paints nothing.
    void scrollBarRepaintsOnlyWhatChanges() {
        QWidget window;
        auto* bar = new CListScrollBar(Qt::Vertical, &window);
        bar->setGeometry(10, 10, 16, 300);
        bar->setPageStep(15);
        bar->setRange(0, 1000);
        window.resize(40, 320);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        int paints = 0;
        struct Counter : QObject {
            int* count;
            explicit Counter(int* c) : count(c) {}
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Paint)
                    ++*count;
                return false;
            }
        } counter(&paints);
        bar->installEventFilter(&counter);

        QCoreApplication::processEvents();
        paints = 0;
        bar->setMaximum(999); // a long list: the handle keeps its size and place
        QCoreApplication::processEvents();
        QCOMPARE(paints, 0);

        for (int max = 60; max >= 0; max -= 3) {
            bar->setMaximum(max);
            if (max == 30)
                bar->setValue(30); // at the end: the arrows change as well
            const QImage shown = OnScreen(*bar);
            QCOMPARE(shown, bar->grab().toImage().convertToFormat(QImage::Format_RGB32));
        }
        QVERIFY(paints > 0);
    }
};

QTEST_MAIN(TestListPainting)
#include "tst_listpainting.moc"

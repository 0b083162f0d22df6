// File names in joined, right-to-left and combining scripts look in the file list and in
// the status bar as the painter draws them with full shaping: the same letters, joined
// the same way, take the same room.
#include "app/CMainStatusBar.h"
#include "browser/controls/CListCtrlEx.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPainter>
#include <QtTest>

namespace {
// The smallest rectangle holding every pixel that stands out from the background.
QRect InkBox(const QImage& image, QColor background) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const auto differs = [&](QRgb p) {
        return std::abs(qRed(p) - background.red()) + std::abs(qGreen(p) - background.green()) +
                   std::abs(qBlue(p) - background.blue()) >
               120;
    };
    QRect box;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if (differs(line[x]))
                box |= QRect(x, y, 1, 1);
    }
    return box;
}

// The text as QPainter::drawText draws it in `font`, in device pixels.
QImage DrawnText(const QString& text, const QFont& font, QSize size, qreal dpr, QColor ink,
                 QColor background) {
    QImage image(size * dpr, QImage::Format_RGB32);
    image.setDevicePixelRatio(dpr);
    image.fill(background);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignLeft | Qt::AlignVCenter, text);
    return image;
}

bool SameRoom(const QRect& a, const QRect& b, qreal dpr) {
    const int slack = int(std::ceil(dpr));
    return !a.isEmpty() && std::abs(a.width() - b.width()) <= slack &&
           std::abs(a.height() - b.height()) <= slack;
}

QString Describe(const QRect& shown, const QRect& drawn) {
    return QStringLiteral("shown %1x%2, drawn %3x%4")
        .arg(shown.width())
        .arg(shown.height())
        .arg(drawn.width())
        .arg(drawn.height());
}
} // namespace

class TestScripts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        const QFontDatabase::WritingSystem needed[] = {QFontDatabase::Arabic, QFontDatabase::Hebrew,
                                                       QFontDatabase::Devanagari,
                                                       QFontDatabase::Thai};
        for (QFontDatabase::WritingSystem system : needed)
            QVERIFY2(!QFontDatabase::families(system).isEmpty(),
                     qPrintable(QFontDatabase::writingSystemName(system) +
                                " has no font: run scripts/install-deps.sh"));
    }

    void namesAreShapedInTheListAndTheStatusBar_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("Arabic") << QString::fromUtf8("\xd8\xb5\xd9\x88\xd8\xb1\xd8\xa9 "
                                                     "\xd8\xb9\xd8\xa7\xd8\xa6\xd9\x84\xd9\x8a"
                                                     "\xd8\xa9.jpg");
        QTest::newRow("Hebrew") << QString::fromUtf8(
            "\xd7\xaa\xd7\x9e\xd7\x95\xd7\xa0\xd7\x94.jpg");
        QTest::newRow("Hindi") << QString::fromUtf8("\xe0\xa4\xa4\xe0\xa4\xb8\xe0\xa5\x8d\xe0\xa4"
                                                    "\xb5\xe0\xa5\x80\xe0\xa4\xb0 \xe0\xa4\x95"
                                                    "\xe0\xa5\x8d\xe0\xa4\xb7.jpg");
        QTest::newRow("Thai") << QString::fromUtf8("\xe0\xb8\xa3\xe0\xb8\xb9\xe0\xb8\x9b\xe0\xb8"
                                                   "\xa0\xe0\xb8\xb2\xe0\xb8\x9e\xe0\xb8\x97"
                                                   "\xe0\xb8\xb5\xe0\xb9\x88.jpg");
        QTest::newRow("combining accents") << QString::fromUtf8("Cafe\xcc\x81 A\xcc\x8a"
                                                                "o\xcc\x88.jpg");
    }
    void namesAreShapedInTheListAndTheStatusBar() {
        QFETCH(QString, name);
        CListCtrlEx list;
        list.InsertItem(0, name, -1, 0);
        list.resize(list.CellSize().width() + 40, list.CellSize().height() * 3);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        const qreal dpr = list.devicePixelRatioF();
        const QColor base = list.palette().color(QPalette::Base);
        const QRect inList = InkBox(list.viewport()->grab().toImage(), base);
        const QRect drawn = InkBox(DrawnText(name, list.font(), list.CellSize(), dpr,
                                             list.palette().color(QPalette::Text), base),
                                   base);
        QVERIFY2(SameRoom(inList, drawn, dpr), qPrintable("list: " + Describe(inList, drawn)));

        CMainStatusBar bar;
        bar.resize(600, 30);
        bar.SetPaneText(0, name);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        auto* pane = bar.findChild<QLabel*>(QStringLiteral("pane0"));
        QVERIFY(pane);
        const QColor window = pane->palette().color(QPalette::Window);
        const QRect inPane = InkBox(pane->grab().toImage(), window);
        const QRect drawnForPane =
            InkBox(DrawnText(name, pane->font(), pane->size(), dpr,
                             pane->palette().color(QPalette::WindowText), window),
                   window);
        QVERIFY2(SameRoom(inPane, drawnForPane, dpr),
                 qPrintable("status bar: " + Describe(inPane, drawnForPane)));
    }
};

QTEST_MAIN(TestScripts)
#include "tst_scripts.moc"

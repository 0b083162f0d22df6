// Text set as a plain run of glyphs must look exactly like the same text drawn by the
// painter, and its widths must add up letter by letter.
#include "platform/CPlainText.h"
#include "tests/support/ScreenCheck.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QtTest>

class TestPlainText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void drawsAsThePainterDoes() {
        const QFont font = CPlainText::Unkerned(QApplication::font());
        const CPlainText plain(font);
        const QString texts[] = {"IMG_0001.jpg", "AVATAR Tee, LTA & Yo.png",
                                 QString::fromUtf8("\xc3\x89t\xc3\xa9 \xc3\xa0 Z\xc3\xbcrich.jpg"),
                                 "/HOME/PICS/IMG_0002.JPG - 640x480x24 bpp,  99 bytes"};
        for (const QString& text : texts) {
            QVERIFY2(plain.Handles(text), qPrintable(text));
            QCOMPARE(plain.Width(text), QFontMetricsF(font).horizontalAdvance(text));
            const QPointF baseline(3.0, QFontMetricsF(font).ascent() + 2);
            QImage byPainter(420, 24, QImage::Format_RGB32);
            byPainter.fill(Qt::white);
            QImage byRun = byPainter;
            QPainter painter(&byPainter);
            painter.setFont(font);
            painter.drawText(baseline, text);
            painter.end();
            QPainter run(&byRun);
            run.setFont(font);
            plain.Draw(run, baseline, text);
            run.end();
            QVERIFY2(SameLook(byRun, byPainter), qPrintable(text));
        }
    }

    void leavesWhatNeedsShapingToThePainter() {
        const CPlainText plain(QApplication::font());
        QVERIFY(!plain.Handles(QString::fromUtf8("e\xcc\x81t\xc3\xa9.jpg"))); // combining accent
        QVERIFY(!plain.Handles(QString::fromUtf8("\xd8\xb5\xd9\x88\xd8\xb1\xd8\xa9.jpg")));
        QVERIFY(!plain.Handles(QString::fromUtf8("\xd0\x9f\xd1\x80\xd0\xb8.jpg")));
        QVERIFY(!plain.Handles(QStringLiteral("new\nline.jpg")));
        QVERIFY(!plain.Handles(QString(QChar(0x7f))));
        QVERIFY(plain.Handles(QString()));
    }
};

QTEST_MAIN(TestPlainText)
#include "tst_plaintext.moc"

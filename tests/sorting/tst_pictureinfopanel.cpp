// The picture information panel: what it shows of pictures the test writes, and that it
// keeps to the picture asked for last.
#include "sorting/widgets/CPictureInfoPanel.h"
#include "tests/support/MetadataPictures.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

class TestPictureInfoPanel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void showsTheRecordAndTheCompanions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("companions");
        QTest::newRow("JPEG with its RAW twin and sidecar")
            << "a.jpg" << QStringList{"a.xmp", "a.dng", "a.dng.xmp"};
        QTest::newRow("HEIC alone") << "b.heic" << QStringList{};
        QTest::newRow("DNG with its JPEG twin") << "c.dng" << QStringList{"c.jpg"};
    }
    void showsTheRecordAndTheCompanions() {
        QFETCH(QString, name);
        QFETCH(QStringList, companions);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        const bool written = name.endsWith(".jpg")    ? metatest::WriteJpeg(path)
                             : name.endsWith(".heic") ? metatest::WriteHeic(path)
                                                      : metatest::WriteDng(path);
        QVERIFY(written);
        for (const QString& companion : companions) {
            QFile file(dir.filePath(companion));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        CPictureInfoPanel panel;
        QSignalSpy updated(&panel, &CPictureInfoPanel::Updated);
        panel.ShowPicture(path);
        QVERIFY(updated.wait(30000));
        const QStringList lines = panel.Lines();
        QVERIFY2(lines.contains("Taken: 6/15/24 2:03:07\u202fPM") ||
                     lines.contains("Taken: 6/15/24 2:03:07 PM"),
                 qPrintable(lines.join('|')));
        QVERIFY(lines.contains("Camera: Tessaro K7"));
        QVERIFY(lines.contains("Lens: Vario 18-55 mm"));
        QVERIFY(lines.contains("Exposure time: 1/250 s"));
        QVERIFY(lines.contains("Aperture: f/2.8"));
        QVERIFY(lines.contains("ISO: 400"));
        QVERIFY(lines.contains("Focal length: 50 mm (75 mm on 35 mm film)"));
        QVERIFY(lines.contains("Flash: Fired, automatic"));
        QVERIFY(lines.contains("Position: 48.85822° N, 2.29450° W"));
        QVERIFY(
            lines
                .filter(QRegularExpression("^File size: [\\d.,]+ (bytes|KiB \\([\\d,]+ bytes\\))$"))
                .size() == 1);
        QVERIFY(lines.filter(QRegularExpression("^Type: .+")).size() == 1);
        if (companions.isEmpty())
            QVERIFY(lines.filter("Companion files").isEmpty());
        else
            QVERIFY(lines.contains("Companion files: " + companions.join('\n')));
    }

    // Each value is text a person can select, and a screen reader hears it with its label.
    void valuesSelectableAndNamed() {
        QTemporaryDir dir;
        const QString path = dir.filePath("a.jpg");
        QVERIFY(metatest::WriteJpeg(path));
        CPictureInfoPanel panel;
        panel.show();
        QSignalSpy updated(&panel, &CPictureInfoPanel::Updated);
        panel.ShowPicture(path);
        QVERIFY(updated.wait(30000));
        QLabel* camera = nullptr;
        for (QLabel* label : panel.findChildren<QLabel*>())
            if (label->text() == QStringLiteral("Tessaro K7"))
                camera = label;
        QVERIFY(camera);
        QVERIFY(camera->textInteractionFlags() & Qt::TextSelectableByKeyboard);
        QVERIFY(camera->textInteractionFlags() & Qt::TextSelectableByMouse);
        QCOMPARE(camera->textFormat(), Qt::PlainText);
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(camera);
        QVERIFY(reader);
        QCOMPARE(reader->text(QAccessible::Name), QStringLiteral("Camera: Tessaro K7"));
    }

    // Stepping on before the last reading came back: only the picture asked for last is
    // shown, whichever reading finishes first.
    void showsOnlyThePictureAskedForLast() {
        QTemporaryDir dir;
        const QString first = dir.filePath("first.jpg");
        const QString second = dir.filePath("second.jpg");
        QVERIFY(metatest::WriteJpeg(first));
        QImage plain(16, 16, QImage::Format_RGB32);
        plain.fill(Qt::gray);
        QVERIFY(plain.save(second, "JPEG"));
        CPictureInfoPanel panel;
        QSignalSpy updated(&panel, &CPictureInfoPanel::Updated);
        panel.ShowPicture(first);
        panel.ShowPicture(second);
        QVERIFY(updated.wait(30000));
        QCOMPARE(updated.size(), 1);
        QCOMPARE(panel.Path(), second);
        QVERIFY(panel.Lines().filter("Camera").isEmpty());
        QVERIFY(!panel.Lines().filter("File size").isEmpty());
    }

    void noPictureNoLines() {
        CPictureInfoPanel panel;
        panel.ShowPicture(QString());
        QVERIFY(panel.Lines().isEmpty());
        QTemporaryDir dir;
        panel.ShowPicture(dir.filePath("gone.jpg")); // no such file: nothing to tell
        QSignalSpy updated(&panel, &CPictureInfoPanel::Updated);
        QVERIFY(updated.wait(30000));
        QVERIFY(panel.Lines().isEmpty());
    }
};

QTEST_MAIN(TestPictureInfoPanel)
#include "tst_pictureinfopanel.moc"

// Printing from the imaging control: one page with the picture, also when its size was only
// to be had from its pixels, and a picture that cannot be decoded said to be so.
#include "tests/picture/ImageCtrlFixture.h"
#include "tests/picture/PictureTestSupport.h"

#include <QPrinter>
#include <QRegularExpression>

using namespace pictest;

class TestImagePrint : public ImageCtrlFixture {
    Q_OBJECT
private Q_SLOTS:
    void init() { SetUp(); }
    void cleanup() { TearDown(); }

    void printingToPdfGivesOnePageWithThePicture() {
        QCOMPARE(m_ctrl->BeginPrint(), 0L); // no printer yet
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = m_dir.filePath("out.pdf");
        printer.setOutputFileName(pdf);
        m_ctrl->SetPrinter(&printer);
        Show(FixturePath("png.png"), true);
        QCOMPARE(QRectF(m_ctrl->PrintLeft(), m_ctrl->PrintTop(), m_ctrl->PrintWidth(),
                        m_ctrl->PrintHeight()),
                 QRectF(0, 0, 24, 16));
        const long handle = m_ctrl->BeginPrint();
        QVERIFY(handle != 0);
        QCOMPARE(m_ctrl->BeginPrint(), 0L); // one page at a time
        // A wide picture 5100 units (8.5 inches) across, shrunk to the printable width.
        QVERIFY(
            m_ctrl->RenderToDevice(handle, m_ctrl->PrintLeft(), m_ctrl->PrintTop(), 5100, 3400));
        m_ctrl->EndPrint(handle);
        const QByteArray out = ReadAll(pdf);
        QVERIFY(out.startsWith("%PDF"));
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b(?!s)"));
        QCOMPARE(QString::fromLatin1(out).count(page), 1);
        QVERIFY(out.contains("/Subtype /Image"));
    }

    // A picture whose size only its pixels tell (a WordPerfect bitmap), printed before they
    // came: its size is had first, so the page is not left empty.
    void printingBeforeThePixelsCameStillPrintsThePicture() {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = m_dir.filePath("pending.pdf");
        printer.setOutputFileName(pdf);
        m_ctrl->SetPrinter(&printer);
        m_ctrl->show();
        QVERIFY(m_ctrl->LoadFile(FixturePath("wpg.wpg"), 0, 0));
        QCOMPARE(m_ctrl->PrintWidth(), 0.0f); // not known before the decode
        QSignalSpy changed(m_ctrl.get(), &CImageCtrl::PictureInfoChanged);
        QVERIFY(m_ctrl->CompleteFigures());
        QCOMPARE(changed.count(), 1);
        QCOMPARE(QSizeF(m_ctrl->PrintWidth(), m_ctrl->PrintHeight()), QSizeF(24, 16));
        const long handle = m_ctrl->BeginPrint();
        QVERIFY(m_ctrl->RenderToDevice(handle, 0, 0, 3000, 2000));
        m_ctrl->EndPrint(handle);
        QVERIFY(ReadAll(pdf).contains("/Subtype /Image"));
        // One the helper cannot decode fails there, and the control says why.
        QByteArray wpg = ReadAll(FixturePath("wpg.wpg"));
        wpg[14] = 1; // marks the file as encrypted
        const QString bad = m_dir.filePath("bad.wpg");
        QFile out(bad);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(wpg) == wpg.size());
        out.close();
        QVERIFY(m_ctrl->LoadFile(bad, 0, 0));
        QVERIFY(!m_ctrl->CompleteFigures());
        QVERIFY2(m_ctrl->LastError().contains("encrypted"), qPrintable(m_ctrl->LastError()));
        QVERIFY(!m_ctrl->HasPicture());
    }
};

QTEST_MAIN(TestImagePrint)
#include "tst_imageprint.moc"

// The Program Configuration and File Types dialogs: they edit the live settings on OK only.
#include "dialogs/CConfigDlg.h"
#include "dialogs/CFileTypesDlg.h"
#include "resources/FileTypes.h"
#include "resources/templates/ConfigTemplate.h"
#include "resources/templates/FileTypesTemplate.h"
#include "settings/CSettings.h"
#include "tests/support/DialogDriver.h"

using namespace dlg;
using driver::Checked;
using driver::Click;

namespace {
CSettings Switches(int move, int fit, int recycle, int companions) {
    CSettings s;
    s.SetMoveCompanionFiles(companions);
    s.SetMoveFiles(move);
    s.SetFitPicToWindow(fit);
    s.SetUseRecyclingBin(recycle);
    return s;
}

CSettings WithFlags(int flags) {
    CSettings s;
    s.ClearFilterFlags();
    s.AddFilterFlags(flags);
    return s;
}

// The thirteen boxes of the first types, then those of the later ones.
QList<int> FormatBoxIds() {
    QList<int> ids;
    for (int id = IDC_FIRST_FORMAT; id <= IDC_LAST_FORMAT; ++id)
        ids.append(id);
    return ids + QList<int>{IDC_WEBP, IDC_HEIC, IDC_AVIF, IDC_RAW};
}

QList<int> CheckedBoxes(const QWidget* d) {
    QList<int> ids;
    for (int id : FormatBoxIds())
        if (Checked(d, id))
            ids.append(id);
    return ids;
}

bool FormatBoxesEnabled(const QWidget* d, bool enabled) {
    for (int id : FormatBoxIds())
        if (CDialogBuilder::Control(d, id)->isEnabled() != enabled)
            return false;
    return CDialogBuilder::Control(d, IDC_ALL_FILES)->isEnabled();
}
} // namespace

class TestConfigDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The dialog shows the four switches (any non-zero move value as "Move File"); OK
    // stores what it shows, Cancel, Escape and the close box store nothing.
    void configurationSwitches_data() {
        QTest::addColumn<QList<int>>("before"); // move, fit, recycle, companions
        QTest::addColumn<bool>("bChangeAll");
        QTest::addColumn<int>("closeWith"); // 1 OK, 2 Cancel, Escape, close box
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("OK unchanged")
            << QList<int>{2, 1, 0, 1} << false << 1 << QList<int>{1, 1, 0, 1};
        QTest::newRow("all changed, Enter")
            << QList<int>{0, 0, 1, 1} << true << int(Qt::Key_Return) << QList<int>{1, 1, 0, 0};
        QTest::newRow("companions off, switched on")
            << QList<int>{1, 0, 1, 0} << true << 1 << QList<int>{0, 1, 0, 1};
        for (int way : {2, int(Qt::Key_Escape), 0})
            QTest::addRow("all changed, closed with %d", way)
                << QList<int>{2, 0, 1, 1} << true << way << QList<int>{2, 0, 1, 1};
    }

    void configurationSwitches() {
        QFETCH(QList<int>, before);
        QFETCH(bool, bChangeAll);
        QFETCH(int, closeWith);
        QFETCH(QList<int>, after);
        CSettings s = Switches(before[0], before[1], before[2], before[3]);
        CConfigDlg d;
        d.SetSettings(&s);
        d.open();
        QCOMPARE(Checked(&d, IDC_MOVE_FILE), before[0] != 0);
        QCOMPARE(Checked(&d, IDC_COPY_FILE), before[0] == 0);
        QCOMPARE(Checked(&d, IDC_RESIZE_TO_FIT), before[1] != 0);
        QCOMPARE(Checked(&d, IDC_RECYCLE_BIN), before[2] != 0);
        QCOMPARE(Checked(&d, IDC_MOVE_COMPANIONS), before[3] != 0);
        if (bChangeAll)
            for (int id : {before[0] ? IDC_COPY_FILE : IDC_MOVE_FILE, IDC_RESIZE_TO_FIT,
                           IDC_RECYCLE_BIN, IDC_MOVE_COMPANIONS})
                Click(&d, id);
        if (closeWith == 1 || closeWith == 2)
            Click(&d, closeWith);
        else if (closeWith)
            QTest::keyClick(&d, Qt::Key(closeWith)); // Enter presses OK, the default button
        else
            d.close();
        const bool bOk = closeWith == 1 || closeWith == Qt::Key_Return;
        QCOMPARE(d.result(), int(bOk ? QDialog::Accepted : QDialog::Rejected));
        QCOMPARE((QList<int>{s.GetMoveFiles(), s.GetFitPicToWindow(), s.GetUseRecyclingBin(),
                             s.GetMoveCompanionFiles()}),
                 after);
    }

    // The file types in their bit order, JPG after EPS and BMP, AVI last; each type's
    // aliases follow its own extension.
    void extensionListFollowsTheFlags() {
        using namespace filetypes;
        QCOMPARE(ExtensionList(0x0400), (QStringList{"JPG", "JPEG", "JPE", "JFIF"}));
        QCOMPARE(ExtensionList(0), QStringList()); // empty: every file is listed
        QCOMPARE(ExtensionList(0x3fff),
                 (QStringList{"PNG", "WPG", "WMF", "TIF", "TIFF", "TGA", "RAS", "PSD", "PCX", "MSP",
                              "MAC", "EPS", "BMP", "JPG", "JPEG", "JPE", "JFIF", "AVI"}));
        // The all-files bit empties the list whatever else is set; unknown bits are ignored.
        QCOMPARE(ExtensionList(kAllFilesBit | 0x3fff), QStringList());
        QCOMPARE(ExtensionList(0x80000 | 0x0400), (QStringList{"JPG", "JPEG", "JPE", "JFIF"}));
        QVERIFY(!FindByBit(0x0401) && FindByBit(kAviBit)->formatCode == kNoFormat);
        // Every picture type is worth counting when hidden, the AVI row is not.
        const QStringList endings = PictureEndings();
        QVERIFY(endings.contains(".JFIF") && endings.contains(".TIFF") && endings.contains(".PNG"));
        QVERIFY(!endings.contains(".AVI") && !endings.contains("."));
        QCOMPARE(HiddenPicturesText(0), QString());
        QCOMPARE(HiddenPicturesText(1),
                 QStringLiteral("1 picture of another type is hidden \u2014 Edit > File Types"));
    }

    // Every value an earlier version could store lists just what it listed then; each later
    // bit adds its own extensions after them, and the all-files bit still lists everything.
    void oldAndNewBitsCombine() {
        using namespace filetypes;
        const QList<int> later{kWebpBit, kHeicBit, kAvifBit, kRawBit};
        QStringList laterExtensions;
        for (int bit : later)
            laterExtensions += Extensions(*FindByBit(bit));
        for (int old = 0; old <= 0x7fff; ++old) {
            const QStringList before = ExtensionList(old);
            for (const QString& extension : before)
                QVERIFY2(!laterExtensions.contains(extension), qPrintable(QString::number(old)));
            for (int mask = 1; mask < (1 << later.size()); ++mask) {
                QStringList added;
                int flags = old;
                for (int i = 0; i < later.size(); ++i)
                    if (mask & (1 << i)) {
                        flags |= later[i];
                        added += Extensions(*FindByBit(later[i]));
                    }
                const QStringList expected = old & kAllFilesBit ? QStringList() : before + added;
                if (ExtensionList(flags) != expected)
                    QFAIL(qPrintable(QStringLiteral("flags %1").arg(flags, 0, 16)));
            }
        }
    }

    // Each box, captioned with its extension in the template, stores that extension's bit
    // and is then labelled as that type.
    void labelsAndTheBitOfEachBox() {
        for (int id : FormatBoxIds()) {
            CSettings s = WithFlags(0);
            CFileTypesDlg d;
            d.SetSettings(&s);
            const QString ext = CDialogBuilder::Text(&d, id);
            d.open();
            Click(&d, id);
            Click(&d, 1);
            const filetypes::PictureFileType* type = filetypes::FindByBit(s.GetFilterFlags());
            QVERIFY2(type && QString::fromLatin1(type->extension) == ext, qPrintable(ext));
            QCOMPARE(CDialogBuilder::Text(&d, id),
                     CFileTypesDlg::FormatTypeLabel(type->formatCode));
        }
    }

    // The boxes show the stored types; OK stores just the marks (the AVI bit, which has no
    // box, is lost), Cancel nothing. The all-files box disables the others and gives them
    // back with their marks. Every run starts from the settings, whatever an earlier run
    // that was cancelled left marked.
    void fileTypesThroughTheDialog_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<QList<int>>("marked"); // the format boxes then checked
        QTest::addColumn<bool>("bAllFiles");
        QTest::addColumn<int>("closeWith"); // 1 OK, 2 Cancel
        QTest::addColumn<int>("after");
        using namespace filetypes;
        QTest::newRow("default, its one box cleared")
            << 0x0400 << QList<int>{1012} << QList<int>{} << false << 1 << 0;
        QTest::newRow("a later type kept, another added")
            << (0x0400 | kHeicBit) << QList<int>{IDC_WEBP} << QList<int>{1012, IDC_WEBP, IDC_HEIC}
            << false << 1 << (0x0400 | kHeicBit | kWebpBit);
        QTest::newRow("all files stored")
            << 16385 << QList<int>{} << QList<int>{1019} << true << 1 << 16385;
        QTest::newRow("all files clicked twice")
            << (0x0400 | 0x0002) << QList<int>{IDC_ALL_FILES, IDC_ALL_FILES}
            << QList<int>{1012, 1014} << false << 1 << (0x0400 | 0x0002);
        QTest::newRow("changes cancelled, the AVI bit kept")
            << (8192 | 1024) << QList<int>{1013, IDC_ALL_FILES} << QList<int>{1012, 1013} << true
            << 2 << (8192 | 1024);
        QTest::newRow("the AVI bit lost at OK")
            << (8192 | 1024) << QList<int>{} << QList<int>{1012} << false << 1 << 1024;
    }
    void fileTypesThroughTheDialog() {
        QFETCH(int, before);
        QFETCH(QList<int>, clicks);
        QFETCH(QList<int>, marked);
        QFETCH(bool, bAllFiles);
        QFETCH(int, closeWith);
        QFETCH(int, after);
        CSettings s = WithFlags(before);
        CFileTypesDlg d;
        d.SetSettings(&s);
        d.open();
        for (int id : {1013, IDC_WEBP, IDC_ALL_FILES, 2}) // changed, then cancelled
            Click(&d, id);
        QCOMPARE(s.GetFilterFlags(), before);
        d.open();
        for (int id : clicks)
            Click(&d, id);
        QCOMPARE(CheckedBoxes(&d), marked);
        QCOMPARE(Checked(&d, IDC_ALL_FILES), bAllFiles);
        QVERIFY(FormatBoxesEnabled(&d, !bAllFiles));
        Click(&d, closeWith);
        QCOMPARE(s.GetFilterFlags(), after);
        // The camera RAW box is one for many extensions; its tooltip names them.
        const QString tip = CDialogBuilder::Control(&d, IDC_RAW)->toolTip();
        QVERIFY2(tip.contains("*.DNG") && tip.contains("*.NEF") && tip.contains("*.CR3"),
                 qPrintable(tip));
    }
};

QTEST_MAIN(TestConfigDialogs)
#include "tst_configdlgs.moc"

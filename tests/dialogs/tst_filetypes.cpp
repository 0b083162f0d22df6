#include "resources/FileTypes.h"

#include <QtTest>

using namespace filetypes;

class TestFileTypes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tableAndNames();
    void extensionListFollowsTheFlags();
};

void TestFileTypes::tableAndNames() {
    const auto table = Table();
    QCOMPARE(table.size(), std::size_t(15));
    for (std::size_t i = 0; i < table.size(); ++i) {
        QCOMPARE(table[i].bit, 1 << i);       // bit order, 0x0001 to 0x4000
        if (table[i].formatCode != kNoFormat) // the short name is the row's own extension
            QCOMPARE(ShortName(table[i].formatCode), QString::fromLatin1(table[i].extension));
    }
    QCOMPARE(Description(FindByBit(0x0400)->formatCode), QStringLiteral("JFIF Compliant"));
    QCOMPARE(FindByBit(kAviBit)->formatCode, kNoFormat);
    QVERIFY(!FindByBit(0x0401) && !FindByBit(0x8000));
    QVERIFY(Description(kNoFormat).isEmpty() && Description(2).isEmpty());
}

void TestFileTypes::extensionListFollowsTheFlags() {
    QCOMPARE(ExtensionList(0x0400), QStringList{"JPG"});
    QCOMPARE(ExtensionList(0), QStringList()); // empty: every file is listed
    // JPG comes after EPS and BMP, AVI last.
    QCOMPARE(ExtensionList(0x3fff), (QStringList{"PNG", "WPG", "WMF", "TIF", "TGA", "RAS", "PSD",
                                                 "PCX", "MSP", "MAC", "EPS", "BMP", "JPG", "AVI"}));
    // The all-files bit empties the list whatever else is set; unknown bits are ignored.
    QCOMPARE(ExtensionList(kAllFilesBit | 0x3fff), QStringList());
    QCOMPARE(ExtensionList(0x8000 | 0x0400), QStringList{"JPG"});
}

QTEST_MAIN(TestFileTypes)
#include "tst_filetypes.moc"

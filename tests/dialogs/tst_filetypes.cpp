#include "resources/FileTypes.h"

#include <QtTest>

using namespace filetypes;

class TestFileTypes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tableHasEveryBitInOrder();
    void namesComeFromTheStringTable();
    void extensionListFollowsTheFlags();
};

void TestFileTypes::tableHasEveryBitInOrder() {
    const auto table = Table();
    QCOMPARE(table.size(), std::size_t(15));
    for (std::size_t i = 0; i < table.size(); ++i) {
        QCOMPARE(table[i].bit, 1 << i);
        QCOMPARE(FindByBit(table[i].bit), &table[i]);
    }
    QVERIFY(!FindByBit(0));
    QVERIFY(!FindByBit(0x8000));
    QVERIFY(!FindByBit(0x0401)); // one bit at a time
}

void TestFileTypes::namesComeFromTheStringTable() {
    // The short name of every type with a format code is its own extension.
    for (const PictureFileType& t : Table()) {
        if (t.formatCode == kNoFormat)
            continue;
        QCOMPARE(ShortName(t.formatCode), QString::fromLatin1(t.extension));
        QVERIFY2(!Description(t.formatCode).isEmpty(), t.extension);
    }
    QCOMPARE(FindByBit(0x0400)->formatCode, 10);
    QCOMPARE(Description(10), QStringLiteral("JFIF Compliant"));
    QCOMPARE(Description(FindByBit(0x0004)->formatCode),
             QStringLiteral("Extended Windows Metafile"));
    QCOMPARE(Description(FindByBit(0x0020)->formatCode), QStringLiteral("Sun Raster Images"));
    // Codes without strings, and AVI and all files which have no code, give empty texts.
    QCOMPARE(FindByBit(kAviBit)->formatCode, kNoFormat);
    QVERIFY(Description(kNoFormat).isEmpty() && ShortName(kNoFormat).isEmpty());
    QVERIFY(Description(2).isEmpty() && ShortName(99).isEmpty());
}

void TestFileTypes::extensionListFollowsTheFlags() {
    QCOMPARE(ExtensionList(0x0400), QStringList{"JPG"});
    QCOMPARE(ExtensionList(0), QStringList());
    QCOMPARE(ExtensionList(kAviBit), QStringList{"AVI"});
    // JPG comes after EPS and BMP, AVI last.
    QCOMPARE(ExtensionList(0x3fff), (QStringList{"PNG", "WPG", "WMF", "TIF", "TGA", "RAS", "PSD",
                                                 "PCX", "MSP", "MAC", "EPS", "BMP", "JPG", "AVI"}));
    QCOMPARE(ExtensionList(0x1000 | 0x0400 | 0x0001), (QStringList{"PNG", "BMP", "JPG"}));
    // The all-files bit empties the list whatever else is set.
    QCOMPARE(ExtensionList(kAllFilesBit), QStringList());
    QCOMPARE(ExtensionList(kAllFilesBit | 0x3fff), QStringList());
    // Bits that name no type are ignored.
    QCOMPARE(ExtensionList(0x8000 | 0x0400), QStringList{"JPG"});
    QCOMPARE(ExtensionList(-1), QStringList());
}

QTEST_MAIN(TestFileTypes)
#include "tst_filetypes.moc"

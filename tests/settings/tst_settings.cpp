#include "platform/CProfileStore.h"
#include "settings/CSettings.h"
#include "settings/WindowRect.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QSettings>
#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstRunHasEveryDefault();
    void saveWritesTheWholeLayout();
    void absentAndEmptyNamesDiffer();
    void perSetAccessorsFollowTheSelection();
    void valuesSurviveARoundTrip();
    void outOfRangeSelectionIsBroughtIntoRange();
    void garbageInTheStoreReadsAsDefaults();
    void loadMovesToTheHomeDirectory();
    void windowRectIsCorrected_data();
    void windowRectIsCorrected();
};

void TestSettings::firstRunHasEveryDefault() {
    TempProfile profile;
    CSettings s;
    s.Load(profile.Store());
    QCOMPARE(s.GetSelectionSet(), 0);
    QCOMPARE(s.GetFilterFlags(), 1024);
    QCOMPARE(s.GetUseRecyclingBin(), 1);
    QCOMPARE(s.GetMoveFiles(), 1);
    QCOMPARE(s.GetFitPicToWindow(), 0);
    QCOMPARE(s.GetWindowRectSetting(), QRect(16, 16, 768, 558));
    for (int n = 0; n < kTargetSetCount; ++n) {
        s.SetSelectionSet(n);
        QCOMPARE(s.GetHomeDirectory(), QString());
        for (int i = 0; i < kTargetCount; ++i) {
            QCOMPARE(s.GetTargetName(i), QStringLiteral("< None >"));
            QCOMPARE(s.GetTargetDir(i), QString());
        }
    }
}

void TestSettings::saveWritesTheWholeLayout() {
    TempProfile profile;
    CSettings s;
    s.Load(profile.Store());
    s.Save(profile.Store(), QRect(16, 16, 768, 558));

    QSettings raw(profile.Path(), QSettings::IniFormat);
    QCOMPARE(raw.childGroups(),
             (QStringList{"Config", "TargetSet01", "TargetSet02", "TargetSet03", "TargetSet04"}));
    raw.beginGroup(QStringLiteral("Config"));
    QStringList config = raw.childKeys();
    config.sort();
    QCOMPARE(config,
             (QStringList{"FilterFlags", "FitPicToWindow", "MoveFiles", "SelectionSet",
                          "UseRecyclingBin", "WindowX1", "WindowX2", "WindowY1", "WindowY2"}));
    for (const QString& key : config) {
        bool isNumber = false;
        raw.value(key).toString().toInt(&isNumber);
        QVERIFY2(isNumber, qPrintable(key));
    }
    QCOMPARE(raw.value("WindowX2").toInt(), 784);
    QCOMPARE(raw.value("WindowY2").toInt(), 574);
    raw.endGroup();

    for (int n = 1; n <= 4; ++n) {
        raw.beginGroup(QStringLiteral("TargetSet0%1").arg(n));
        const QStringList keys = raw.childKeys();
        QCOMPARE(keys.size(), 41);
        QVERIFY(keys.contains("HomeDirectory"));
        QVERIFY(keys.contains("Target01Name") && keys.contains("Target20Dir"));
        QCOMPARE(raw.value("Target20Name").toString(), QStringLiteral("< None >"));
        QCOMPARE(raw.value("Target07Dir").toString(), QString());
        raw.endGroup();
    }
}

void TestSettings::absentAndEmptyNamesDiffer() {
    TempProfile profile;
    profile.Store().WriteProfileString("TargetSet02", "Target05Name", "");
    CSettings s;
    s.Load(profile.Store());
    s.SetSelectionSet(1);
    QCOMPARE(s.GetTargetName(4), QString(""));
    QCOMPARE(s.GetTargetName(5), QStringLiteral("< None >"));

    // Saved back, the empty name is still there as an empty value.
    s.Save(profile.Store(), s.GetWindowRectSetting());
    profile.Reopen();
    QCOMPARE(profile.Store().GetProfileString("TargetSet02", "Target05Name", "absent"),
             QString(""));
}

void TestSettings::perSetAccessorsFollowTheSelection() {
    TempProfile profile;
    CSettings s;
    s.Load(profile.Store());
    s.SetSelectionSet(3);
    s.SetTargetName(10, "Holidays");
    s.SetTargetDir(10, "/pics/holidays");
    s.SetSelectionSet(0);
    QCOMPARE(s.GetTargetName(10), QStringLiteral("< None >"));
    s.Save(profile.Store(), s.GetWindowRectSetting());
    profile.Reopen();
    QCOMPARE(profile.Store().GetProfileString("TargetSet04", "Target11Name", ""),
             QStringLiteral("Holidays"));
    QCOMPARE(profile.Store().GetProfileString("TargetSet04", "Target11Dir", ""),
             QStringLiteral("/pics/holidays"));
}

void TestSettings::valuesSurviveARoundTrip() {
    TempProfile profile;
    CSettings s;
    s.Load(profile.Store());
    s.SetSelectionSet(2);
    s.SetHomeDirectory("  /odd, name = x  ");
    s.SetTargetName(0, "Näme; with \"quotes\"");
    s.ClearFilterFlags();
    s.AddFilterFlags(0x4001);
    s.SetMoveFiles(0);
    s.SetUseRecyclingBin(0);
    s.SetFitPicToWindow(1);
    s.Save(profile.Store(), QRect(-20, 40, 900, 700));
    profile.Reopen();

    CSettings t;
    t.Load(profile.Store());
    QCOMPARE(t.GetSelectionSet(), 2);
    QCOMPARE(t.GetHomeDirectory(), QStringLiteral("  /odd, name = x  "));
    QCOMPARE(t.GetTargetName(0), QStringLiteral("Näme; with \"quotes\""));
    QCOMPARE(t.GetFilterFlags(), 0x4001);
    QCOMPARE(t.GetMoveFiles(), 0);
    QCOMPARE(t.GetUseRecyclingBin(), 0);
    QCOMPARE(t.GetFitPicToWindow(), 1);
    QCOMPARE(t.GetWindowRectSetting(), QRect(-20, 40, 900, 700));
}

void TestSettings::outOfRangeSelectionIsBroughtIntoRange() {
    for (int stored : {4, 99, -1, -2147483647}) {
        TempProfile profile;
        profile.Store().WriteProfileInt("Config", "SelectionSet", stored);
        CSettings s;
        s.Load(profile.Store());
        QVERIFY(s.GetSelectionSet() >= 0 && s.GetSelectionSet() <= 3);
        QCOMPARE(s.GetTargetName(19), QStringLiteral("< None >"));
    }
}

void TestSettings::garbageInTheStoreReadsAsDefaults() {
    TempProfile profile;
    {
        QFile f(profile.Path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Config]\nFilterFlags=lots\nSelectionSet=\nWindowX1=1e99\nMoveFiles=@Invalid()\n"
                "[TargetSet01]\nTarget01Name=a, b, c\n\x01\x02garbage\n[broken\n");
    }
    profile.Reopen();
    CSettings s;
    s.Load(profile.Store());
    QCOMPARE(s.GetFilterFlags(), 1024);
    QCOMPARE(s.GetSelectionSet(), 0);
    QCOMPARE(s.GetWindowRectSetting().left(), 16);
    QCOMPARE(s.GetMoveFiles(), 1);
    QCOMPARE(s.GetTargetName(0), QStringLiteral("a, b, c"));
}

void TestSettings::loadMovesToTheHomeDirectory() {
    const QString before = QDir::currentPath();
    QTemporaryDir home;
    TempProfile profile;
    profile.Store().WriteProfileString("TargetSet02", "HomeDirectory", home.path());
    profile.Store().WriteProfileInt("Config", "SelectionSet", 1);
    CSettings s;
    s.Load(profile.Store());
    QCOMPARE(QDir::currentPath(), QDir(home.path()).canonicalPath());

    // An empty or missing home directory leaves the current directory where it is.
    QDir::setCurrent(before);
    for (const QString& dir : {QString(), QStringLiteral("/no/such/folder/anywhere")}) {
        TempProfile other;
        other.Store().WriteProfileString("TargetSet01", "HomeDirectory", dir);
        CSettings t;
        t.Load(other.Store());
        QCOMPARE(QDir::currentPath(), before);
    }
}

void TestSettings::windowRectIsCorrected_data() {
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("default stays") << QRect(16, 16, 768, 558) << QRect(16, 16, 768, 558);
    QTest::newRow("on the second screen stays")
        << QRect(2000, 100, 800, 600) << QRect(2000, 100, 800, 600);
    QTest::newRow("half off the left edge stays")
        << QRect(-400, 50, 800, 600) << QRect(-400, 50, 800, 600);
    QTest::newRow("far off every screen") << QRect(9000, 9000, 800, 600) << QRect(16, 16, 800, 600);
    QTest::newRow("only a sliver visible") << QRect(-795, 10, 800, 600) << QRect(16, 16, 800, 600);
    QTest::newRow("too small") << QRect(100, 100, 40, 30) << QRect(100, 100, 768, 558);
    QTest::newRow("inverted") << QRect(QPoint(500, 500), QPoint(100, 100))
                              << QRect(500, 500, 768, 558);
    QTest::newRow("larger than the screen")
        << QRect(9000, 0, 5000, 4000) << QRect(16, 16, 1904, 1064);
}

void TestSettings::windowRectIsCorrected() {
    QFETCH(QRect, stored);
    QFETCH(QRect, expected);
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    QCOMPARE(CorrectWindowRect(stored, screens), expected);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"

#include "platform/system/CProfileStore.h"
#include "settings/CSettings.h"
#include "settings/CSettingsKeeper.h"
#include "settings/WindowRect.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TmpfsMount.h"

#include <QDir>
#include <QMap>
#include <QSettings>
#include <QtTest>
#include <cerrno>
#include <sys/stat.h>

class TestSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // A first run with an empty store has every default, and saving writes exactly these
    // names: integers as numbers, absent names as "< None >", directories empty.
    void firstRunStoresEveryDefault() {
        TempProfile profile;
        CSettings s;
        s.Load(profile.Store());
        QCOMPARE(s.GetWindowRectSetting(), QRect(16, 16, 768, 558));
        s.Save(profile.Store(), s.GetWindowRectSetting());
        QMap<QString, QString> expected{
            {"Config/FilterFlags", "1024"},  {"Config/FitPicToWindow", "0"},
            {"Config/MoveFiles", "1"},       {"Config/SelectionSet", "0"},
            {"Config/UseRecyclingBin", "1"}, {"Config/WindowX1", "16"},
            {"Config/WindowY1", "16"},       {"Config/WindowX2", "784"},
            {"Config/WindowY2", "574"},      {"Sorting/MoveCompanionFiles", "1"},
            {"Window/Maximized", "0"},       {"Window/FileSelectWidth", "200"},
            {"Window/Filmstrip", "0"},       {"Window/ShowPictureInfo", "0"},
            {"Browse/LastFolder", ""},       {"Browse/SortBy", "Name"},
            {"Browse/SortDescending", "0"}};
        for (int n = 1; n <= 4; ++n) {
            const QString set = QStringLiteral("TargetSet0%1/").arg(n);
            expected[set + "HomeDirectory"] = "";
            for (int i = 1; i <= 20; ++i) {
                const QString number = QStringLiteral("%1").arg(i, 2, 10, QChar('0'));
                expected[set + "Target" + number + "Name"] = "< None >";
                expected[set + "Target" + number + "Dir"] = "";
            }
        }
        QSettings raw(profile.Path(), QSettings::IniFormat);
        QStringList keys = raw.allKeys();
        keys.sort();
        QCOMPARE(keys, QStringList(expected.keys()));
        for (auto it = expected.cbegin(); it != expected.cend(); ++it)
            QCOMPARE(raw.value(it.key()).toString(), it.value());
    }

    // Every value survives a save and a load, in the place and form the store keeps it.
    void valuesSurviveARoundTrip() {
        TempProfile profile;
        profile.Store().WriteProfileString("TargetSet02", "Target05Name", "");
        CSettings s;
        s.Load(profile.Store());
        s.SetSelectionSet(3);
        s.SetTargetName(10, "Holidays");
        s.SetTargetDir(10, "/pics/holidays");
        s.SetSelectionSet(2);
        QCOMPARE(s.GetTargetName(10), QStringLiteral("< None >"));
        s.SetHomeDirectory("  /odd, name = x  ");
        s.SetTargetName(0, "Näme; with \"quotes\"");
        s.ClearFilterFlags();
        s.AddFilterFlags(0x4001);
        s.SetMoveFiles(0);
        s.SetUseRecyclingBin(0);
        s.SetFitPicToWindow(1);
        s.SetMoveCompanionFiles(0);
        s.SetMaximized(true);
        s.SetFileSelectWidth(345);
        s.SetShowFilmstrip(true);
        s.SetLastFolder("/pics/trip, day 2");
        s.Save(profile.Store(), QRect(-20, 40, 900, 700));
        profile.Reopen();

        CProfileStore& store = profile.Store();
        // Destination 10 of set 3 lives in "TargetSet04"; an empty name stays empty.
        QCOMPARE(store.GetProfileString("TargetSet04", "Target11Name", ""), "Holidays");
        QCOMPARE(store.GetProfileString("TargetSet04", "Target11Dir", ""), "/pics/holidays");
        QCOMPARE(store.GetProfileString("TargetSet02", "Target05Name", "absent"), QString(""));
        CSettings t;
        t.Load(store);
        QCOMPARE(t.GetSelectionSet(), 2);
        QCOMPARE(t.GetHomeDirectory(), QStringLiteral("  /odd, name = x  "));
        QCOMPARE(t.GetTargetName(0), QStringLiteral("Näme; with \"quotes\""));
        QCOMPARE((QList<int>{t.GetFilterFlags(), t.GetMoveFiles(), t.GetUseRecyclingBin(),
                             t.GetFitPicToWindow(), t.GetMoveCompanionFiles()}),
                 (QList<int>{0x4001, 0, 0, 1, 0}));
        QCOMPARE(t.GetWindowRectSetting(), QRect(-20, 40, 900, 700));
        QVERIFY(t.GetMaximized());
        QCOMPARE(t.GetFileSelectWidth(), 345);
        QVERIFY(t.GetShowFilmstrip());
        QCOMPARE(t.GetLastFolder(), QStringLiteral("/pics/trip, day 2"));
        t.SetSelectionSet(1);
        QCOMPARE(t.GetTargetName(4), QString(""));
        QCOMPARE(t.GetTargetName(5), QStringLiteral("< None >"));
    }

    // Every change is told to the listener once, and only a change: the same value again
    // is none. A copy (a dialog's working copy) tells nobody; assigning it back does.
    void changesAreTold_data() {
        QTest::addColumn<int>("what");
        for (int i = 0; i < 14; ++i)
            QTest::addRow("setter %d", i) << i;
    }
    void changesAreTold() {
        QFETCH(int, what);
        const auto change = [what](CSettings& s, int v) {
            const QString text = QString::number(v);
            switch (what) {
            case 0:
                return s.SetHomeDirectory(text);
            case 1:
                return s.SetTargetName(3, text);
            case 2:
                return s.SetTargetDir(19, text);
            case 3:
                return s.SetSelectionSet(v);
            case 4:
                return s.SetFitPicToWindow(v);
            case 5:
                return s.SetMoveFiles(v);
            case 6:
                return s.SetUseRecyclingBin(v);
            case 7:
                return s.SetMoveCompanionFiles(v);
            case 8:
                return v == 0 ? s.ClearFilterFlags() : s.AddFilterFlags(v);
            case 9:
                return s.SetMaximized(v != 0);
            case 10:
                return s.SetFileSelectWidth(v);
            case 11:
                return s.SetLastFolder(text);
            case 12:
                return s.SetShowFilmstrip(v != 0);
            default:
                return s.SetSelectionSet(v + 1);
            }
        };
        CSettings s;
        int told = 0;
        s.SetListener([&told] { ++told; });
        change(s, 2);
        QCOMPARE(told, 1);
        change(s, 2);
        QCOMPARE(told, 1);
        CSettings copy = s;
        change(copy, 0);
        QCOMPARE(told, 1);
        s = copy;
        QCOMPARE(told, 2);
        change(s, 2);
        QCOMPARE(told, 3);
    }

    // The keeper writes a change to the store when the program next gets to its event loop,
    // without anything being closed; the window rectangle waits for the close.
    void keeperWritesChangesAtOnce() {
        TempProfile profile;
        CSettings s;
        s.Load(profile.Store());
        CSettingsKeeper keeper(s, profile.Store());
        s.SetSelectionSet(2);
        s.SetTargetName(4, "Keep");
        s.SetTargetDir(4, "/pics/keep");
        s.SetWindowRectSetting(QRect(1, 2, 300, 400));
        QVERIFY(keeper.WritePending());
        QCoreApplication::processEvents();
        QVERIFY(!keeper.WritePending());
        QSettings raw(profile.Path(), QSettings::IniFormat);
        QCOMPARE(raw.value("TargetSet03/Target05Name").toString(), QStringLiteral("Keep"));
        QCOMPARE(raw.value("TargetSet03/Target05Dir").toString(), QStringLiteral("/pics/keep"));
        QCOMPARE(raw.value("Config/SelectionSet").toInt(), 2);
        QVERIFY(!raw.contains("Config/WindowX1"));
        keeper.StopListening();
        s.SetSelectionSet(1);
        QVERIFY(!keeper.WritePending());
    }

    // The folder to start in: the last one shown while it exists, else the home directory.
    void startFolderIsTheLastOneShown() {
        QTemporaryDir last;
        CSettings s;
        s.SetHomeDirectory("/home/someone/pics");
        QCOMPARE(s.StartFolder(), QStringLiteral("/home/someone/pics"));
        s.SetLastFolder(last.path());
        QCOMPARE(s.StartFolder(), last.path());
        s.SetLastFolder(last.path() + "/gone");
        QCOMPARE(s.StartFolder(), QStringLiteral("/home/someone/pics"));
    }

    void outOfRangeSelectionIsBroughtIntoRange() {
        for (int stored : {4, 99, -1, -2147483647}) {
            TempProfile profile;
            profile.Store().WriteProfileInt("Config", "SelectionSet", stored);
            CSettings s;
            s.Load(profile.Store());
            QVERIFY(s.GetSelectionSet() >= 0 && s.GetSelectionSet() <= 3);
            QCOMPARE(s.GetTargetName(19), QStringLiteral("< None >"));
        }
    }

    void garbageInTheStoreReadsAsDefaults() {
        TempProfile profile;
        {
            QFile f(profile.Path());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(
                "[Config]\nFilterFlags=lots\nSelectionSet=\nWindowX1=1e99\nMoveFiles=@Invalid()\n"
                "[Browse]\nSortBy=Sideways\nSortDescending=@Invalid()\n"
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
        QCOMPARE(s.GetSortBy(), 0); // by name
        QVERIFY(!s.GetSortDescending());
    }

    // Reading the settings never moves the process to the home folder: on a network share
    // every relative look-up of the process would become a round trip to it.
    void loadLeavesTheCurrentDirectory() {
        const QString before = QDir::currentPath();
        QTemporaryDir home;
        for (const QString& dir : {home.path(), QString(), QStringLiteral("/no/such/folder")}) {
            TempProfile profile;
            profile.Store().WriteProfileString("TargetSet02", "HomeDirectory", dir);
            profile.Store().WriteProfileInt("Config", "SelectionSet", 1);
            CSettings s;
            s.Load(profile.Store());
            QCOMPARE(s.GetHomeDirectory(), dir);
            QCOMPARE(QDir::currentPath(), before);
        }
    }

    void windowRectIsCorrected_data() {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("default stays") << QRect(16, 16, 768, 558) << QRect(16, 16, 768, 558);
        QTest::newRow("on the second screen stays")
            << QRect(2000, 100, 800, 600) << QRect(2000, 100, 800, 600);
        QTest::newRow("half off the left edge stays")
            << QRect(-400, 50, 800, 600) << QRect(-400, 50, 800, 600);
        QTest::newRow("far off every screen")
            << QRect(9000, 9000, 800, 600) << QRect(16, 16, 800, 600);
        QTest::newRow("only a sliver visible")
            << QRect(-795, 10, 800, 600) << QRect(16, 16, 800, 600);
        QTest::newRow("too small") << QRect(100, 100, 40, 30) << QRect(100, 100, 768, 558);
        QTest::newRow("inverted") << QRect(QPoint(500, 500), QPoint(100, 100))
                                  << QRect(500, 500, 768, 558);
        QTest::newRow("larger than the screen")
            << QRect(9000, 0, 5000, 4000) << QRect(16, 16, 1904, 1064);
    }

    void windowRectIsCorrected() {
        QFETCH(QRect, stored);
        QFETCH(QRect, expected);
        const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
        QCOMPARE(CorrectWindowRect(stored, screens), expected);
    }

    // A settings file that cannot be written is reported with its name and the reason,
    // never taken for saved.
    void unwritableStoreSaysWhichFileAndWhy_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder in its place") << "folder"
                                             << "folder of that name";
        QTest::newRow("read-only") << "read-only" << qt_error_string(EROFS);
        QTest::newRow("disk full") << "full" << qt_error_string(ENOSPC);
    }

    void unwritableStoreSaysWhichFileAndWhy() {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        TmpfsMount disk(256 * 1024);
        REQUIRE_MOUNT(disk);
        const QString file = QString::fromLocal8Bit(disk.Path()) + "/Vantrel.conf";
        if (fault == "folder")
            QVERIFY(QDir().mkdir(file));
        if (fault == "full")
            QVERIFY(WriteBytes(disk.Path() + "/filler", QByteArray(256 * 1024, 'f')) ||
                    QFileInfo(disk.Path() + "/filler").size() > 0);
        if (fault == "read-only")
            QVERIFY(disk.MakeReadOnly());
        CProfileStore store(file);
        CSettings s;
        s.Load(store);
        s.SetMoveFiles(0);
        QVERIFY(!s.Save(store, s.GetWindowRectSetting()));
        QVERIFY2(store.WriteError().contains(file), qPrintable(store.WriteError()));
        QVERIFY2(store.WriteError().contains(reason), qPrintable(store.WriteError()));
        if (fault != "folder")
            QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(QDir(QString::fromLocal8Bit(disk.Path())).entryList(QDir::Hidden | QDir::Files),
                 fault == "full" ? QStringList{"filler"} : QStringList{});
    }

    // A huge settings file (junk, or a pipe in its place) is kept aside unread and the
    // program starts from the defaults; the next save writes a sound file. The user's own
    // store finds its file where the settings library keeps it.
    void oversizedStoreIsKeptAside_data() {
        QTest::addColumn<bool>("bUserStore");
        QTest::addColumn<bool>("bPipe");
        QTest::newRow("file of its own") << false << false;
        QTest::newRow("user's store") << true << false;
        QTest::newRow("pipe in its place") << false << true;
    }

    void oversizedStoreIsKeptAside() {
        QFETCH(bool, bUserStore);
        QFETCH(bool, bPipe);
        QTemporaryDir dir;
        const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
        const QString file =
            bUserStore ? dir.filePath("Ostlewin/Vantrel.conf") : dir.filePath("Vantrel.conf");
        QCOMPARE(CProfileStore::UserFileName(), dir.filePath("Ostlewin/Vantrel.conf"));
        QDir().mkpath(QFileInfo(file).path());
        QByteArray junk = "[Config]\nMoveFiles=0\n" + QByteArray(2 << 20, 'j');
        if (bPipe)
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else
            QVERIFY(WriteBytes(QFile::encodeName(file), junk));
        {
            auto store = bUserStore ? std::make_unique<CProfileStore>()
                                    : std::make_unique<CProfileStore>(file);
            QCOMPARE(store->FileName(), file);
            QVERIFY(store->LoadProblem().contains(file + ".bad"));
            CSettings s;
            s.Load(*store);
            QCOMPARE(s.GetMoveFiles(), 1);
            QVERIFY(s.Save(*store, s.GetWindowRectSetting()));
            QVERIFY(store->WriteError().isEmpty());
        }
        if (!bPipe)
            QCOMPARE(ReadBytes(QFile::encodeName(file + ".bad")), junk);
        QVERIFY(QFileInfo(file).isFile() && QFileInfo(file).size() < 16384);
        CProfileStore again(file);
        QVERIFY(again.LoadProblem().isEmpty());
        QCOMPARE(again.GetProfileInt("Config", "MoveFiles", -1), 1);
        if (configHome.isEmpty())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", configHome);
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"

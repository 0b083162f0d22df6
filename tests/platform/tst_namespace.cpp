#include "platform/shell/CComputerFolder.h"
#include "platform/shell/CDesktopFolder.h"
#include "platform/shell/CDirEnumIDList.h"
#include "platform/shell/CFileSystemFolder.h"
#include "platform/shell/CItemIdList.h"
#include "platform/shell/CShellContextMenu.h"
#include "platform/shell/CShellFolderRef.h"
#include "platform/shell/CShellItemId.h"
#include "platform/shell/CSystemImageList.h"
#include "platform/system/CNativePath.h"
#include "platform/system/CNaturalCompare.h"
#include "platform/ui/CItemPropertiesDlg.h"
#include "tests/support/CDiskTap.h"
#include "tests/support/NativeTempDir.h"
#include "tests/support/ShellLeakCheck.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMimeData>
#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using Id = CShellItemId;

namespace {
// Every child of a folder as (name bytes, flags), sorted by name.
QList<QPair<QByteArray, unsigned>> Children(CShellFolder* folder, ULONG flags) {
    QList<QPair<QByteArray, unsigned>> out;
    auto items = folder->EnumObjects(flags);
    LPITEMIDLIST pidl = nullptr;
    while (items && items->Next(&pidl)) {
        out.append({Id::BytesOf(pidl).toByteArray(), Id::FlagsOf(pidl)});
        CItemIdList::FreePidl(pidl);
    }
    std::sort(out.begin(), out.end());
    return out;
}

int Sign(int v) {
    return (v > 0) - (v < 0);
}

} // namespace

class TestNamespace : public QObject {
    Q_OBJECT
public Q_SLOTS:
    void openUrl(const QUrl& url) { m_opened.append(url); }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_home.isValid() && m_dir.isValid());
        qputenv("HOME", QFile::encodeName(m_home.path()));
        m_path = m_dir.NativePath();
    }
    void init() { m_leaks = ShellLeakCheck(); }
    void cleanup() { m_leaks.Verify(); }

    // Its first child is Computer, with no path of its own and the file-system root as its
    // first drive; then the home folder. (The tree's test checks the names shown.)
    void desktopShowsComputerThenHome() {
        CShellFolderRef desktop(CShellFolder::SHGetDesktopFolder());
        auto items = desktop->EnumObjects(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
        LPITEMIDLIST computer = nullptr, home = nullptr, none = nullptr;
        QVERIFY(items->Next(&computer) && items->Next(&home) && !items->Next(&none));
        QVERIFY(desktop->GetPathOf(computer).isEmpty());
        QCOMPARE(desktop->GetPathOf(home), QFile::encodeName(m_home.path()));
        QCOMPARE(CComputerFolder::DrivePaths().first(), QByteArray("/"));
        CItemIdList::FreePidl(computer);
        CItemIdList::FreePidl(home);
    }

    // Finding the drives looks at nothing in the current directory (a relative device name
    // of the mount table resolved there is a round trip when it lies on a network share).
    void drivesAreFoundWithoutALookInTheCurrentDirectory() {
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        CDiskTap& tap = CDiskTap::Instance();
        tap.Watch(QFile::encodeName(QDir::currentPath()));
        const QList<QByteArray> drives = CComputerFolder::DrivePaths();
        tap.Stop();
        QDir::setCurrent(before);
        QCOMPARE(drives.first(), QByteArray("/"));
        const QStringList calls = tap.CallsOn(CDiskTap::CurrentThread());
        QVERIFY2(calls.isEmpty(), qPrintable(calls.join(", ")));
    }

    void enumerationFlagsAndAttributes() {
        QVERIFY(QDir(m_dir.path()).mkpath("attr/parent/child"));
        QVERIFY(QDir(m_dir.path()).mkpath("attr/leaf"));
        for (int i = 0; i < 3000; ++i) // many files before any sub-folder is found
            QVERIFY(WriteBytes(m_path + "/attr/leaf/f" + QByteArray::number(i), "x"));
        QVERIFY(WriteBytes(m_path + "/attr/photo.jpg", "x"));

        auto* folder = new CFileSystemFolder(m_path + "/attr");
        CShellFolderRef ref(folder);
        const auto names = [folder](ULONG flags) {
            QList<QByteArray> n;
            for (const auto& child : Children(folder, flags))
                n << child.first;
            return n;
        };
        QCOMPARE(names(SHCONTF_FOLDERS), (QList<QByteArray>{"leaf", "parent"}));
        QCOMPARE(names(SHCONTF_NONFOLDERS), QList<QByteArray>{"photo.jpg"});
        QCOMPARE(names(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS).size(), 3);

        LPITEMIDLIST parent = Id::Make(Id::Named, Id::IsFolder, "parent");
        LPITEMIDLIST leaf = Id::Make(Id::Named, Id::IsFolder, "leaf");
        LPITEMIDLIST photo = Id::Make(Id::Named, 0, "photo.jpg");
        const ULONG mask = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
        QCOMPARE(folder->GetAttributesOf(parent, mask), mask);
        QCOMPARE(folder->GetAttributesOf(leaf, mask), SFGAO_FOLDER);
        QCOMPARE(folder->GetAttributesOf(photo, mask), 0u);
        QCOMPARE(folder->GetAttributesOf(photo, SFGAO_FILESYSTEM), SFGAO_FILESYSTEM);
        QVERIFY(!folder->BindToObject(photo));           // a file is not a folder
        QVERIFY(folder->CompareIDs(0, leaf, photo) < 0); // folders first
        QVERIFY(folder->CompareIDs(0, photo, parent) > 0);
        for (LPITEMIDLIST p : {parent, leaf, photo})
            CItemIdList::FreePidl(p);

        // A folder that vanished after it was listed cannot be listed again.
        CShellFolderRef child(new CFileSystemFolder(m_path + "/attr/parent/child"));
        QVERIFY(child->EnumObjects(SHCONTF_NONFOLDERS));
        QVERIFY(::rmdir((m_path + "/attr/parent/child").constData()) == 0);
        QVERIFY(!child->EnumObjects(SHCONTF_NONFOLDERS));
    }

    // Hidden names (a leading dot) come only when asked for, from a listing and from a
    // look-up of one name (how the tree and the list learn of a change on disk).
    void hiddenEntriesOnlyWhenAsked_data() {
        QTest::addColumn<ULONG>("flags");
        QTest::addColumn<QList<QByteArray>>("expected");
        QTest::newRow("folders") << SHCONTF_FOLDERS << QList<QByteArray>{"shown"};
        QTest::newRow("files") << SHCONTF_NONFOLDERS << QList<QByteArray>{"a.jpg"};
        QTest::newRow("both") << (SHCONTF_FOLDERS | SHCONTF_NONFOLDERS)
                              << QList<QByteArray>{"a.jpg", "shown"};
        QTest::newRow("hidden folders too")
            << (SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN) << QList<QByteArray>{".cache", "shown"};
        QTest::newRow("everything")
            << (SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN)
            << QList<QByteArray>{".cache", ".hidden.jpg", "a.jpg", "shown"};
    }
    void hiddenEntriesOnlyWhenAsked() {
        QFETCH(ULONG, flags);
        QFETCH(QList<QByteArray>, expected);
        const QByteArray dir = m_path + "/hide";
        QVERIFY(QDir().mkpath(QFile::decodeName(dir + "/.cache")) &&
                QDir().mkpath(QFile::decodeName(dir + "/shown")));
        QVERIFY(WriteBytes(dir + "/.hidden.jpg", "x") && WriteBytes(dir + "/a.jpg", "x"));
        CShellFolderRef folder(new CFileSystemFolder(dir));
        QList<QByteArray> listed, lookedUp;
        for (const auto& child : Children(folder.get(), flags))
            listed << child.first;
        QCOMPARE(listed, expected);
        for (const QByteArray name : {".cache", ".hidden.jpg", "a.jpg", "shown"})
            if (LPITEMIDLIST pidl = CDirEnumIDList::EntryOf(dir, name, flags)) {
                lookedUp << name;
                CItemIdList::FreePidl(pidl);
            }
        QCOMPARE(lookedUp, expected);
    }

    void oddNamesKeepTheirBytes() {
        const QByteArray dir = m_path + "/odd";
        QVERIFY(::mkdir(dir.constData(), 0755) == 0);
        QList<QByteArray> names = {"with space.jpg", ".hidden.jpg", "new\nline.jpg",
                                   QByteArray("caf\xe9.jpg"), "\xc3\xa9t\xc3\xa9.jpg"};
        for (const QByteArray& name : names)
            QVERIFY(WriteBytes(dir + '/' + name, "x"));

        auto* folder = new CFileSystemFolder(dir);
        CShellFolderRef ref(folder);
        auto items = folder->EnumObjects(SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);
        QList<QByteArray> found;
        LPITEMIDLIST pidl = nullptr;
        while (items->Next(&pidl)) {
            const QByteArray name = Id::BytesOf(pidl).toByteArray();
            found.append(name);
            const QByteArray path = folder->GetPathOf(pidl);
            QCOMPARE(path, dir + '/' + name);
            QVERIFY2(ReadBytes(path) == "x", path.constData());
            QString shown;
            QVERIFY(folder->GetDisplayNameOf(pidl, SHGDN_NORMAL, shown));
            QVERIFY(!shown.contains(QLatin1Char('\n')));
            if (name == "new\nline.jpg")
                QCOMPARE(shown, QString::fromUtf8("new\xe2\x90\x8aline.jpg"));
            if (name == "caf\xe9.jpg")
                QCOMPARE(shown, QString::fromUtf8("caf\xef\xbf\xbd.jpg"));
            if (name.startsWith('.'))
                QCOMPARE(folder->GetAttributesOf(pidl, SFGAO_HIDDEN), SFGAO_HIDDEN);
            CItemIdList::FreePidl(pidl);
        }
        std::sort(found.begin(), found.end());
        std::sort(names.begin(), names.end());
        QCOMPARE(found, names);
        // The URL of a name that is not UTF-8 carries its byte.
        QCOMPARE(CNativePath::ToEncodedUrl(dir + "/caf\xe9.jpg"),
                 "file://" + dir.toPercentEncoding("/") + "/caf%E9.jpg");
    }

    void symbolicLinksAndLoops() {
        const QByteArray dir = m_path + "/links";
        QVERIFY(QDir().mkpath(QFile::decodeName(dir + "/real/inner")));
        for (const auto& [target, link] : {std::pair{"self", "self"}, // a loop
                                           {".", "here"},             // a folder loop
                                           {"missing", "dangling"},
                                           {"real", "toreal"}})
            QVERIFY(::symlink(target, (dir + '/' + link).constData()) == 0);

        auto* folder = new CFileSystemFolder(dir);
        CShellFolderRef ref(folder);
        const QList<QPair<QByteArray, unsigned>> expected{{"dangling", Id::IsLink},
                                                          {"here", Id::IsLink | Id::IsFolder},
                                                          {"real", Id::IsFolder},
                                                          {"self", Id::IsLink},
                                                          {"toreal", Id::IsLink | Id::IsFolder}};
        QCOMPARE(Children(folder, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS), expected);

        // Following the loop again and again only goes deeper; nothing hangs.
        LPITEMIDLIST here = Id::Make(Id::Named, Id::IsLink | Id::IsFolder, "here");
        QCOMPARE(folder->GetAttributesOf(here, SFGAO_HASSUBFOLDER), SFGAO_HASSUBFOLDER);
        CShellFolderRef inner(folder->BindToObject(here));
        CShellFolderRef deeper(inner->BindToObject(here));
        QCOMPARE(Children(deeper.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS).size(), 5);
        CItemIdList::FreePidl(here);
    }

    void naturalOrder() {
        const auto cmp = [](const char* a, const char* b) {
            return CNaturalCompare::Compare(QByteArrayView(a), QByteArrayView(b));
        };
        // Each pair in order, and the other way round; different names never compare equal.
        for (const auto& [a, b] : {std::pair{"IMG_2.jpg", "IMG_10.jpg"},
                                   {"IMG_9.jpg", "img_10.jpg"},
                                   {"apple", "Banana"},
                                   {"a2b9", "a2b10"},
                                   {"x", "x0"},
                                   {"x99999999999999999999", "x100000000000000000000"}, // > 64 bits
                                   {"\xc3\x89t\xc3\xa9 2", "\xc3\xa9t\xc3\xa9 10"}})    // folded
            QVERIFY2(cmp(a, b) < 0 && cmp(b, a) > 0, a);
        for (const auto& [a, b] : {std::pair{"a", "A"}, {"x01", "x1"}})
            QVERIFY(cmp(a, b) != 0 && Sign(cmp(a, b)) == -Sign(cmp(b, a)));
        QCOMPARE(cmp("same", "same"), 0);
        QVERIFY(CNaturalCompare::Compare(u"Zoo", u"apple") > 0);

        // The sort keys, compared as bytes, agree with the comparison.
        const char alphabet[] = "aAbB0129_. \xc3\xa9\xc3\x89\xe9";
        QRandomGenerator rng(42);
        QList<QByteArray> names, keys;
        for (int i = 0; i < 400; ++i) {
            QByteArray name, key;
            for (int j = 0, len = 1 + rng.bounded(6); j < len; ++j)
                name.append(alphabet[rng.bounded(int(sizeof alphabet) - 1)]);
            CNaturalCompare::AppendSortKey(name, key);
            names.append(name);
            keys.append(key);
        }
        for (int i = 0; i < names.size(); ++i)
            for (int j = 0; j < names.size(); ++j)
                if (const int byKey = Sign(QByteArrayView(keys[i]).compare(keys[j])))
                    QCOMPARE(byKey, Sign(CNaturalCompare::Compare(names[i], names[j])));
    }

    void iconsAreCachedByKind() {
        CSystemImageList* images = CSystemImageList::Get();
        QVERIFY(images);
        LPITEMIDLIST root = Id::Make(Id::Rooted, Id::IsFolder, m_path);
        const int before = images->ProviderCalls();
        QSet<int> indexes;
        for (int i = 0; i < 10000; ++i) {
            const QByteArray name = "IMG_" + QByteArray::number(i) + (i % 2 ? ".jpg" : ".JPG");
            LPITEMIDLIST rel = Id::Make(Id::Named, 0, name);
            LPITEMIDLIST abs = CItemIdList::ConcatPidls(root, rel);
            indexes.insert(images->IconIndexOf(abs));
            CItemIdList::FreePidl(rel);
            CItemIdList::FreePidl(abs);
        }
        QCOMPARE(indexes.size(), 1);
        QVERIFY(images->ProviderCalls() - before <= 1);
        QVERIFY(!images->Icon(*indexes.begin()).isNull());
        LPITEMIDLIST sub = Id::Make(Id::Named, Id::IsFolder, "sub");
        LPITEMIDLIST folder = CItemIdList::ConcatPidls(root, sub);
        QVERIFY(images->IconIndexOf(folder, false) != images->IconIndexOf(folder, true));
        QVERIFY(images->IconIndexOf(folder) != *indexes.begin());
        for (LPITEMIDLIST p : {root, sub, folder})
            CItemIdList::FreePidl(p);
    }

    void contextMenuCommands() {
        const QByteArray path = m_path + "/menu \xe9.jpg";
        QVERIFY(WriteBytes(path, "12345"));
        const CShellContextMenu::Item item{path, QStringLiteral("menu"), false};
        const auto texts = [&] {
            QStringList t;
            for (const auto& c : CShellContextMenu::CommandsFor(item))
                t.append(c.text);
            return t;
        };
        QCOMPARE(texts(), QStringList({"Open", "Copy", "Properties"}));
        QVERIFY(CShellContextMenu::CommandsFor(CShellContextMenu::Item{}).isEmpty());
        // Another part of the program adds its commands where their order puts them.
        const int handle = CShellContextMenu::AddProvider([](const auto&, auto& cmds) {
            cmds.append({300, "Rename", nullptr});
        });
        QCOMPARE(texts(), QStringList({"Open", "Copy", "Rename", "Properties"}));
        CShellContextMenu::RemoveProvider(handle);
        QCOMPARE(texts().size(), 3);

        const auto cmds = CShellContextMenu::CommandsFor(item);
        QVERIFY(!cmds[1].invoke(nullptr, nullptr)); // Copy
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QVERIFY(data);
        const QByteArray url = CNativePath::ToEncodedUrl(path);
        QVERIFY(url.endsWith("/menu%20%E9.jpg"));
        QCOMPARE(data->data("text/uri-list"), url + "\r\n");
        QCOMPARE(data->data("x-special/gnome-copied-files"), "copy\n" + url);

        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
        QVERIFY(!cmds[0].invoke(nullptr, nullptr)); // Open
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened.first().toEncoded(), url);

        QWidget owner;
        QVERIFY(!cmds[2].invoke(&owner, nullptr)); // Properties
        auto* dlg = owner.findChild<CItemPropertiesDlg*>();
        QVERIFY(dlg);
        QCOMPARE(dlg->Value("Name"), QStringLiteral("menu"));
        QCOMPARE(dlg->Value("Folder"), m_dir.path());
        QVERIFY(dlg->Value("Size").contains(QStringLiteral("5 bytes")));
        QVERIFY(!dlg->Value("Modified").isEmpty());
        dlg->close();
    }

    void pathsFollowTheEntries() {
        LPITEMIDLIST computer = Id::Make(Id::Computer, Id::IsFolder, {});
        LPITEMIDLIST root = Id::Make(Id::Rooted, Id::IsFolder, "/");
        LPITEMIDLIST tmp = Id::Make(Id::Named, Id::IsFolder, "tmp");
        const QByteArray oddName("caf\xe9\nnew line.jpg");
        LPITEMIDLIST file = Id::Make(Id::Named, 0, oddName);
        QCOMPARE(Id::BytesOf(file), QByteArrayView(oddName));
        LPITEMIDLIST a = CItemIdList::ConcatPidls(computer, root);
        LPITEMIDLIST b = CItemIdList::ConcatPidls(a, tmp);
        LPITEMIDLIST c = CItemIdList::ConcatPidls(b, file);
        QCOMPARE(Id::PathOf(computer), QByteArray());
        QCOMPARE(Id::PathOf(a), QByteArray("/"));
        QCOMPARE(Id::PathOf(b), QByteArray("/tmp"));
        QCOMPARE(Id::PathOf(c), "/tmp/" + oddName);
        QCOMPARE(Id::PathOf(file), QByteArray()); // a name with no folder before it
        QVERIFY(Id::IsFolderList(computer) && Id::IsFolderList(b) && !Id::IsFolderList(c));
        for (LPITEMIDLIST p : {computer, root, tmp, file, a, b, c})
            CItemIdList::FreePidl(p);
    }

private:
    QTemporaryDir m_home;
    NativeTempDir m_dir;
    QByteArray m_path;
    ShellLeakCheck m_leaks;
    QList<QUrl> m_opened;
};

QTEST_MAIN(TestNamespace)
#include "tst_namespace.moc"

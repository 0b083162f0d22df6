#include "platform/CComputerFolder.h"
#include "platform/CDesktopFolder.h"
#include "platform/CFileSystemFolder.h"
#include "platform/CItemPropertiesDlg.h"
#include "platform/CNativePath.h"
#include "platform/CNaturalCompare.h"
#include "platform/CShellContextMenu.h"
#include "platform/CShellFolderRef.h"
#include "platform/CShellItemId.h"
#include "platform/CShellMalloc.h"
#include "platform/CSystemImageList.h"
#include "tests/support/NativeTempDir.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMimeData>
#include <QRandomGenerator>
#include <QtTest>
#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool MakeFile(const QByteArray& path, const QByteArray& content = "12345") {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    return ::close(fd) == 0 && ok;
}

// Every child of a folder as (name bytes, flags), in enumeration order.
QList<QPair<QByteArray, unsigned>> Children(CShellFolder* folder, ULONG flags) {
    QList<QPair<QByteArray, unsigned>> out;
    auto items = folder->EnumObjects(flags);
    LPITEMIDLIST pidl = nullptr;
    while (items && items->Next(&pidl)) {
        out.append({CShellItemId::BytesOf(pidl).toByteArray(), CShellItemId::FlagsOf(pidl)});
        CItemIdList::FreePidl(pidl);
    }
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
    void initTestCase();
    void init();
    void cleanup();
    void desktopShowsComputerThenHome();
    void enumerationFlagsAndAttributes();
    void oddNamesKeepTheirBytes();
    void symbolicLinksAndLoops();
    void vanishedFolderCannotBeListed();
    void naturalOrder();
    void sortKeysAgreeWithTheOrder();
    void iconsAreCachedByKind();
    void contextMenuCommands();

private:
    QTemporaryDir m_home;
    NativeTempDir m_dir;
    QByteArray m_path;
    long m_nOutstanding = 0;
    long m_nFolders = 0;
    QList<QUrl> m_opened;
};

void TestNamespace::initTestCase() {
    QVERIFY(m_home.isValid() && m_dir.isValid());
    qputenv("HOME", QFile::encodeName(m_home.path()));
    m_path = m_dir.NativePath();
}

void TestNamespace::init() {
    m_nOutstanding = CShellMalloc::Get().Outstanding();
    m_nFolders = CShellFolder::LiveFolders();
}

void TestNamespace::cleanup() {
    QCOMPARE(CShellMalloc::Get().Outstanding(), m_nOutstanding);
    QCOMPARE(CShellFolder::LiveFolders(), m_nFolders);
}

void TestNamespace::desktopShowsComputerThenHome() {
    CShellFolderRef desktop(CShellFolder::SHGetDesktopFolder());
    auto items = desktop->EnumObjects(SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
    LPITEMIDLIST computer = nullptr, home = nullptr, none = nullptr;
    QVERIFY(items->Next(&computer));
    QVERIFY(items->Next(&home));
    QVERIFY(!items->Next(&none));
    QString name;
    QVERIFY(desktop->GetDisplayNameOf(computer, SHGDN_NORMAL, name));
    QCOMPARE(name, QStringLiteral("Computer"));
    QVERIFY(desktop->GetDisplayNameOf(home, SHGDN_NORMAL, name));
    QCOMPARE(name, QStringLiteral("Home"));
    QCOMPARE(desktop->GetPathOf(home), QFile::encodeName(m_home.path()));
    QVERIFY(desktop->GetPathOf(computer).isEmpty());
    QVERIFY(desktop->CompareIDs(0, computer, home) < 0);
    QVERIFY(desktop->GetAttributesOf(computer, SFGAO_HASSUBFOLDER));

    // Below Computer the file-system root comes first and is called by its path.
    CShellFolderRef drives(desktop->BindToObject(computer));
    QVERIFY(drives);
    const auto roots = Children(drives.get(), SHCONTF_FOLDERS);
    QVERIFY(!roots.isEmpty());
    QCOMPARE(roots.first().first, QByteArray("/"));
    QCOMPARE(CComputerFolder::DrivePaths().first(), QByteArray("/"));
    CItemIdList::FreePidl(computer);
    CItemIdList::FreePidl(home);
}

void TestNamespace::enumerationFlagsAndAttributes() {
    QVERIFY(QDir(m_dir.path()).mkpath("attr/parent/child"));
    QVERIFY(QDir(m_dir.path()).mkpath("attr/leaf"));
    for (int i = 0; i < 3000; ++i) // many files before any sub-folder is found
        QVERIFY(MakeFile(m_path + "/attr/leaf/f" + QByteArray::number(i)));
    QVERIFY(MakeFile(m_path + "/attr/photo.jpg"));

    CFileSystemFolder* folder = new CFileSystemFolder(m_path + "/attr");
    CShellFolderRef ref(folder);
    auto folders = Children(folder, SHCONTF_FOLDERS);
    std::sort(folders.begin(), folders.end());
    QCOMPARE(folders.size(), 2);
    QCOMPARE(folders[0].first, QByteArray("leaf"));
    QCOMPARE(folders[1].first, QByteArray("parent"));
    const auto files = Children(folder, SHCONTF_NONFOLDERS);
    QCOMPARE(files.size(), 1);
    QCOMPARE(files[0].first, QByteArray("photo.jpg"));
    QCOMPARE(Children(folder, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS).size(), 3);

    LPITEMIDLIST parent = CShellItemId::Make(CShellItemId::Named, CShellItemId::IsFolder, "parent");
    LPITEMIDLIST leaf = CShellItemId::Make(CShellItemId::Named, CShellItemId::IsFolder, "leaf");
    LPITEMIDLIST photo = CShellItemId::Make(CShellItemId::Named, 0, "photo.jpg");
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
}

void TestNamespace::oddNamesKeepTheirBytes() {
    const QByteArray dir = m_path + "/odd";
    QVERIFY(::mkdir(dir.constData(), 0755) == 0);
    const QList<QByteArray> names = {"with space.jpg", ".hidden.jpg", "new\nline.jpg",
                                     QByteArray("caf\xe9.jpg"), "\xc3\xa9t\xc3\xa9.jpg"};
    for (const QByteArray& name : names)
        QVERIFY(MakeFile(dir + '/' + name));

    CFileSystemFolder* folder = new CFileSystemFolder(dir);
    CShellFolderRef ref(folder);
    auto items = folder->EnumObjects(SHCONTF_NONFOLDERS);
    QList<QByteArray> found;
    LPITEMIDLIST pidl = nullptr;
    while (items->Next(&pidl)) {
        const QByteArray name = CShellItemId::BytesOf(pidl).toByteArray();
        found.append(name);
        const QByteArray path = folder->GetPathOf(pidl);
        QCOMPARE(path, dir + '/' + name);
        struct stat st;
        QVERIFY2(::stat(path.constData(), &st) == 0, path.constData());
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
    QList<QByteArray> expected = names;
    std::sort(expected.begin(), expected.end());
    QCOMPARE(found, expected);
    // The URL of a name that is not UTF-8 carries its byte.
    QCOMPARE(CNativePath::ToEncodedUrl(dir + "/caf\xe9.jpg"),
             "file://" + dir.toPercentEncoding("/") + "/caf%E9.jpg");
}

void TestNamespace::symbolicLinksAndLoops() {
    const QByteArray dir = m_path + "/links";
    QVERIFY(QDir().mkpath(QFile::decodeName(dir + "/real/inner")));
    QVERIFY(::symlink("self", (dir + "/self").constData()) == 0); // a loop
    QVERIFY(::symlink(".", (dir + "/here").constData()) == 0);    // a folder loop
    QVERIFY(::symlink("missing", (dir + "/dangling").constData()) == 0);
    QVERIFY(::symlink("real", (dir + "/toreal").constData()) == 0);

    CFileSystemFolder* folder = new CFileSystemFolder(dir);
    CShellFolderRef ref(folder);
    auto all = Children(folder, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
    std::sort(all.begin(), all.end());
    QCOMPARE(all.size(), 5);
    const auto flags = [&](const char* name) {
        for (const auto& [n, f] : all)
            if (n == name)
                return f;
        return 0xFFu;
    };
    QCOMPARE(flags("self"), unsigned(CShellItemId::IsLink));
    QCOMPARE(flags("dangling"), unsigned(CShellItemId::IsLink));
    QCOMPARE(flags("here"), unsigned(CShellItemId::IsLink | CShellItemId::IsFolder));
    QCOMPARE(flags("toreal"), unsigned(CShellItemId::IsLink | CShellItemId::IsFolder));
    QCOMPARE(flags("real"), unsigned(CShellItemId::IsFolder));

    // Following the loop again and again only goes deeper; nothing hangs.
    LPITEMIDLIST here = CShellItemId::Make(CShellItemId::Named, flags("here"), "here");
    QCOMPARE(folder->GetAttributesOf(here, SFGAO_HASSUBFOLDER), SFGAO_HASSUBFOLDER);
    CShellFolderRef inner(folder->BindToObject(here));
    CShellFolderRef deeper(inner->BindToObject(here));
    QCOMPARE(Children(deeper.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS).size(), 5);
    CItemIdList::FreePidl(here);
}

void TestNamespace::vanishedFolderCannotBeListed() {
    const QByteArray dir = m_path + "/gone";
    QVERIFY(::mkdir(dir.constData(), 0755) == 0);
    CShellFolderRef folder(new CFileSystemFolder(dir));
    QVERIFY(folder->EnumObjects(SHCONTF_NONFOLDERS));
    QVERIFY(::rmdir(dir.constData()) == 0);
    QVERIFY(!folder->EnumObjects(SHCONTF_NONFOLDERS));
    QVERIFY(!CFileSystemFolder(dir + "/x").EnumObjects(SHCONTF_FOLDERS));
}

void TestNamespace::naturalOrder() {
    const auto cmp = [](const char* a, const char* b) {
        return CNaturalCompare::Compare(QByteArrayView(a), QByteArrayView(b));
    };
    QVERIFY(cmp("IMG_2.jpg", "IMG_10.jpg") < 0);
    QVERIFY(cmp("img_10.jpg", "IMG_9.jpg") > 0);
    QVERIFY(cmp("apple", "Banana") < 0);
    QVERIFY(cmp("a2b10", "a2b9") > 0);
    QVERIFY(cmp("x99999999999999999999", "x100000000000000000000") < 0); // beyond 64 bits
    // Different names never compare equal, and the order is the same both ways round.
    for (const auto& [a, b] : {std::pair{"a", "A"}, {"x01", "x1"}, {"x", "x0"}}) {
        QVERIFY(cmp(a, b) != 0);
        QCOMPARE(Sign(cmp(a, b)), -Sign(cmp(b, a)));
    }
    QCOMPARE(cmp("same", "same"), 0);
    // Letters beyond ASCII fold too.
    QVERIFY(CNaturalCompare::Compare(QByteArrayView("\xc3\x89t\xc3\xa9 2"),
                                     QByteArrayView("\xc3\xa9t\xc3\xa9 10")) < 0);
    QVERIFY(CNaturalCompare::Compare(u"Zoo", u"apple") > 0);
}

void TestNamespace::sortKeysAgreeWithTheOrder() {
    const char alphabet[] = "aAbB0129_. \xc3\xa9\xc3\x89\xe9";
    QRandomGenerator rng(42);
    QList<QByteArray> names;
    for (int i = 0; i < 400; ++i) {
        QByteArray name;
        const int len = 1 + rng.bounded(6);
        for (int j = 0; j < len; ++j)
            name.append(alphabet[rng.bounded(int(sizeof alphabet) - 1)]);
        names.append(name);
    }
    QList<QByteArray> keys;
    for (const QByteArray& name : names) {
        QByteArray key;
        CNaturalCompare::AppendSortKey(name, key);
        keys.append(key);
    }
    for (int i = 0; i < names.size(); ++i)
        for (int j = 0; j < names.size(); ++j) {
            const int byKey = Sign(QByteArrayView(keys[i]).compare(keys[j]));
            if (byKey != 0)
                QCOMPARE(byKey, Sign(CNaturalCompare::Compare(names[i], names[j])));
        }
}

void TestNamespace::iconsAreCachedByKind() {
    CSystemImageList* images = CSystemImageList::Get();
    QVERIFY(images);
    LPITEMIDLIST root = CShellItemId::Make(CShellItemId::Rooted, CShellItemId::IsFolder, m_path);
    const int before = images->ProviderCalls();
    QSet<int> indexes;
    for (int i = 0; i < 10000; ++i) {
        const QByteArray name = "IMG_" + QByteArray::number(i) + (i % 2 ? ".jpg" : ".JPG");
        LPITEMIDLIST rel = CShellItemId::Make(CShellItemId::Named, 0, name);
        LPITEMIDLIST abs = CItemIdList::ConcatPidls(root, rel);
        indexes.insert(images->IconIndexOf(abs));
        CItemIdList::FreePidl(rel);
        CItemIdList::FreePidl(abs);
    }
    QCOMPARE(indexes.size(), 1);
    QVERIFY(images->ProviderCalls() - before <= 1);
    QVERIFY(!images->Icon(*indexes.begin()).isNull());
    LPITEMIDLIST sub = CShellItemId::Make(CShellItemId::Named, CShellItemId::IsFolder, "sub");
    LPITEMIDLIST folder = CItemIdList::ConcatPidls(root, sub);
    QVERIFY(images->IconIndexOf(folder, false) != images->IconIndexOf(folder, true));
    QVERIFY(images->IconIndexOf(folder) != *indexes.begin());
    for (LPITEMIDLIST p : {root, sub, folder})
        CItemIdList::FreePidl(p);
}

void TestNamespace::contextMenuCommands() {
    const QByteArray path = m_path + "/menu \xe9.jpg";
    QVERIFY(MakeFile(path, "12345"));
    const CShellContextMenu::Item item{path, QStringLiteral("menu"), false};
    const auto texts = [](const QList<CShellContextMenu::Command>& cmds) {
        QStringList t;
        for (const auto& c : cmds)
            t.append(c.text);
        return t;
    };
    QCOMPARE(texts(CShellContextMenu::CommandsFor(item)),
             QStringList({"Open", "Copy", "Properties"}));
    QVERIFY(CShellContextMenu::CommandsFor(CShellContextMenu::Item{}).isEmpty());

    // Another part of the program adds its commands where their order puts them.
    bool renamed = false;
    const int handle = CShellContextMenu::AddProvider([&](const auto& it, auto& cmds) {
        if (it.path == path)
            cmds.append({300, QStringLiteral("Rename"), [&](QWidget*) { return renamed = true; }});
    });
    auto cmds = CShellContextMenu::CommandsFor(item);
    QCOMPARE(texts(cmds), QStringList({"Open", "Copy", "Rename", "Properties"}));
    QVERIFY(cmds[2].invoke(nullptr));
    QVERIFY(renamed);
    CShellContextMenu::RemoveProvider(handle);
    QCOMPARE(CShellContextMenu::CommandsFor(item).size(), 3);

    cmds = CShellContextMenu::CommandsFor(item);
    QVERIFY(!cmds[1].invoke(nullptr)); // Copy
    const QMimeData* data = QApplication::clipboard()->mimeData();
    QVERIFY(data);
    const QByteArray url = CNativePath::ToEncodedUrl(path);
    QVERIFY(url.endsWith("/menu%20%E9.jpg"));
    QCOMPARE(data->data("text/uri-list"), url + "\r\n");
    QCOMPARE(data->data("x-special/gnome-copied-files"), "copy\n" + url);

    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
    QVERIFY(!cmds[0].invoke(nullptr)); // Open
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(m_opened.size(), 1);
    QCOMPARE(m_opened.first().toEncoded(), url);

    QWidget owner;
    QVERIFY(!cmds[2].invoke(&owner)); // Properties
    auto* dlg = owner.findChild<CItemPropertiesDlg*>();
    QVERIFY(dlg);
    QCOMPARE(dlg->Value("Name"), QStringLiteral("menu"));
    QCOMPARE(dlg->Value("Folder"), m_dir.path());
    QVERIFY(dlg->Value("Size").contains(QStringLiteral("5 bytes")));
    QVERIFY(!dlg->Value("Modified").isEmpty());
    dlg->close();
}

QTEST_MAIN(TestNamespace)
#include "tst_namespace.moc"

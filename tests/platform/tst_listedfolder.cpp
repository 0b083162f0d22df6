// A listed folder opens again for an action only while its path leads to that same folder.
#include "platform/files/CListedFolder.h"
#include "tests/support/NativeTempDir.h"
#include "tests/support/TestSupport.h"

#include <QtTest>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
// What is done to the folder's path between the listing and the action.
enum class Change {
    None,
    ExchangedForLink,    // renameat2(RENAME_EXCHANGE) with a link to another folder
    ExchangedForFolder,  // ... with another folder
    ReplacedByFile,      // moved away, a file put at its path
    Removed,             // moved away, nothing at its path
    LinkRetargeted,      // listed through a link, which now leads elsewhere
    LinkReplacedByTarget // listed through a link, the folder itself now at the link's path
};
} // namespace

Q_DECLARE_METATYPE(Change)

class TestListedFolder : public QObject {
    Q_OBJECT

    QByteArray At(const char* rel) const { return m_tmp->NativePath() + "/" + rel; }
    bool Exchange(const char* a, const char* b) const {
        return ::renameat2(AT_FDCWD, At(a).constData(), AT_FDCWD, At(b).constData(),
                           RENAME_EXCHANGE) == 0;
    }
    void Apply(Change change) {
        switch (change) {
        case Change::None:
            return;
        case Change::ExchangedForLink:
            QVERIFY(::symlink("other", At("link").constData()) == 0 && Exchange("pics", "link"));
            return;
        case Change::ExchangedForFolder:
            QVERIFY(Exchange("pics", "other"));
            return;
        case Change::ReplacedByFile:
            QVERIFY(::rename(At("pics").constData(), At("away").constData()) == 0);
            QVERIFY(WriteBytes(At("pics"), "a file"));
            return;
        case Change::Removed:
            QVERIFY(::rename(At("pics").constData(), At("away").constData()) == 0);
            return;
        case Change::LinkRetargeted:
            QVERIFY(::symlink("other", At("new").constData()) == 0);
            QVERIFY(::rename(At("new").constData(), At("pics").constData()) == 0);
            return;
        case Change::LinkReplacedByTarget:
            QVERIFY(::unlink(At("pics").constData()) == 0 &&
                    ::rename(At("real").constData(), At("pics").constData()) == 0);
            return;
        }
    }

private Q_SLOTS:
    void init() {
        m_tmp = std::make_unique<NativeTempDir>();
        QVERIFY(::mkdir(At("other").constData(), 0755) == 0);
    }

    void opensOnlyTheListedFolder_data() {
        QTest::addColumn<Change>("change");
        QTest::addColumn<bool>("linked"); // pics is a link to real/ when listed
        QTest::addColumn<QByteArray>("listedAs");
        QTest::addColumn<int>("error");
        const int replaced = CFolderHandle::kReplaced;
        QTest::newRow("unchanged") << Change::None << false << QByteArray("pics") << 0;
        QTest::newRow("trailing separator") << Change::None << false << QByteArray("pics/") << 0;
        QTest::newRow("exchanged for a link")
            << Change::ExchangedForLink << false << QByteArray("pics") << replaced;
        QTest::newRow("exchanged for a folder")
            << Change::ExchangedForFolder << false << QByteArray("pics") << replaced;
        QTest::newRow("a file in its place")
            << Change::ReplacedByFile << false << QByteArray("pics") << replaced;
        QTest::newRow("gone") << Change::Removed << false << QByteArray("pics") << ENOENT;
        QTest::newRow("through a link") << Change::None << true << QByteArray("pics") << 0;
        QTest::newRow("link retargeted")
            << Change::LinkRetargeted << true << QByteArray("pics") << replaced;
        QTest::newRow("link replaced by its folder")
            << Change::LinkReplacedByTarget << true << QByteArray("pics") << 0;
    }
    void opensOnlyTheListedFolder() {
        QFETCH(Change, change);
        QFETCH(bool, linked);
        QFETCH(QByteArray, listedAs);
        QFETCH(int, error);
        QVERIFY(::mkdir(At(linked ? "real" : "pics").constData(), 0755) == 0);
        if (linked)
            QVERIFY(::symlink("real", At("pics").constData()) == 0);
        QVERIFY(WriteBytes(At("pics") + "/a.jpg", "listed"));
        const CListedFolder listed = CListedFolder::Take(At(listedAs.constData()));
        QVERIFY(listed.IsKnown());
        Apply(change);

        const CFolderHandle folder = listed.Open();
        QCOMPARE(folder.Error(), error);
        QCOMPARE(folder.Fd() >= 0, error == 0);
        if (error == 0) { // the descriptor reaches the listed files
            struct stat st {};
            QVERIFY(::fstatat(folder.Fd(), "a.jpg", &st, 0) == 0);
            QCOMPARE(st.st_size, off_t(6));
        }
    }

    // The folder a listing read, told by the listing's own descriptor: a swap while the
    // names were being read is noticed at the action.
    void listingDescriptorNamesTheFolder() {
        QVERIFY(::mkdir(At("pics").constData(), 0755) == 0);
        const int fd = ::open(At("pics").constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        Apply(Change::ExchangedForLink);
        const CListedFolder listed = CListedFolder::Of(At("pics"), fd);
        ::close(fd);
        QVERIFY(listed.IsKnown());
        QCOMPARE(listed.Open().Error(), CFolderHandle::kReplaced);
        QCOMPARE(CListedFolder::Take(At("pics")).Open().Error(), 0); // listed anew
    }

private:
    std::unique_ptr<NativeTempDir> m_tmp;
};

QTEST_MAIN(TestListedFolder)
#include "tst_listedfolder.moc"

#include "platform/CItemIdList.h"
#include "platform/CShellItemId.h"
#include "platform/CShellMalloc.h"

#include <QtTest>
#include <cstring>

namespace {
// A list of `count` entries of `cb` bytes each (count included), with its terminator.
LPITEMIDLIST MakeList(int count, unsigned cb) {
    LPITEMIDLIST pidl = CItemIdList::AllocPidl(count * cb + 2);
    auto* p = reinterpret_cast<std::uint8_t*>(pidl);
    for (int i = 0; i < count; ++i) {
        const auto c = static_cast<std::uint16_t>(cb);
        std::memcpy(p + i * cb, &c, 2);
        std::memset(p + i * cb + 2, 'a' + i, cb - 2);
    }
    return pidl;
}
} // namespace

class TestItemIdList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_nOutstanding = CShellMalloc::Get().Outstanding(); }
    void cleanup() { QCOMPARE(CShellMalloc::Get().Outstanding(), m_nOutstanding); }
    void sizesOfLists();
    void concatenationJoinsWithoutTheFirstTerminator();
    void copyTakesOnlyTheFirstEntry();
    void failedAllocationsGiveNull();
    void pathsFollowTheEntries();

private:
    long m_nOutstanding = 0;
};

void TestItemIdList::sizesOfLists() {
    QCOMPARE(CItemIdList::GetPidlSize(nullptr), 0u);
    LPITEMIDLIST empty = CItemIdList::AllocPidl(2);
    QCOMPARE(CItemIdList::GetPidlSize(empty), 2u);
    LPITEMIDLIST three = MakeList(3, 7);
    QCOMPARE(CItemIdList::GetPidlSize(three), 3 * 7 + 2u);
    LPCITEMIDLIST second = CItemIdList::NextItemID(three);
    QCOMPARE(reinterpret_cast<const char*>(second) - reinterpret_cast<const char*>(three), 7);
    QCOMPARE(CItemIdList::GetPidlSize(second), 2 * 7 + 2u);
    QCOMPARE(reinterpret_cast<const char*>(CItemIdList::LastItemID(three)),
             reinterpret_cast<const char*>(three) + 14);
    // Allocations start zeroed, so a fresh list of any size reads as empty.
    LPITEMIDLIST zeroed = CItemIdList::AllocPidl(40);
    QCOMPARE(CItemIdList::GetPidlSize(zeroed), 2u);
    CItemIdList::FreePidl(empty);
    CItemIdList::FreePidl(three);
    CItemIdList::FreePidl(zeroed);
}

void TestItemIdList::concatenationJoinsWithoutTheFirstTerminator() {
    LPITEMIDLIST a = MakeList(2, 5); // size 12
    LPITEMIDLIST b = MakeList(3, 9); // size 29
    LPITEMIDLIST ab = CItemIdList::ConcatPidls(a, b);
    QCOMPARE(CItemIdList::GetPidlSize(ab), 12u + 29u - 2u);
    QVERIFY(std::memcmp(ab, a, 10) == 0);
    QVERIFY(std::memcmp(reinterpret_cast<char*>(ab) + 10, b, 29) == 0);

    LPITEMIDLIST copy = CItemIdList::ConcatPidls(nullptr, b);
    QVERIFY(copy != b);
    QVERIFY(CItemIdList::IsEqual(copy, b));

    LPITEMIDLIST empty = CItemIdList::AllocPidl(2);
    LPITEMIDLIST same = CItemIdList::ConcatPidls(empty, a);
    QVERIFY(CItemIdList::IsEqual(same, a));
    for (LPITEMIDLIST p : {a, b, ab, copy, empty, same})
        CItemIdList::FreePidl(p);
}

void TestItemIdList::copyTakesOnlyTheFirstEntry() {
    LPITEMIDLIST three = MakeList(3, 6);
    LPITEMIDLIST first = CItemIdList::CopyItemID(CShellMalloc::Get(), three);
    QCOMPARE(CItemIdList::GetPidlSize(first), 6u + 2u);
    QVERIFY(std::memcmp(first, three, 6) == 0);
    CItemIdList::FreePidl(three);
    CItemIdList::FreePidl(first);
}

void TestItemIdList::failedAllocationsGiveNull() {
    LPITEMIDLIST a = MakeList(1, 4);
    CShellMalloc::Get().FailAfter(1);
    QVERIFY(!CItemIdList::ConcatPidls(a, a));
    CShellMalloc::Get().FailAfter(1);
    QVERIFY(!CItemIdList::CopyItemID(CShellMalloc::Get(), a));
    CShellMalloc::Get().FailAfter(1);
    QVERIFY(!CShellItemId::Make(CShellItemId::Named, 0, "x"));
    // A name too long for the 16-bit count is refused, not wrapped.
    QVERIFY(!CShellItemId::Make(CShellItemId::Named, 0, QByteArray(70000, 'x')));
    CItemIdList::FreePidl(a);
}

void TestItemIdList::pathsFollowTheEntries() {
    LPITEMIDLIST computer = CShellItemId::Make(CShellItemId::Computer, CShellItemId::IsFolder, {});
    LPITEMIDLIST root = CShellItemId::Make(CShellItemId::Rooted, CShellItemId::IsFolder, "/");
    LPITEMIDLIST tmp = CShellItemId::Make(CShellItemId::Named, CShellItemId::IsFolder, "tmp");
    const QByteArray oddName("caf\xe9\nnew line.jpg");
    LPITEMIDLIST file = CShellItemId::Make(CShellItemId::Named, 0, oddName);
    QCOMPARE(CShellItemId::BytesOf(file), QByteArrayView(oddName));

    LPITEMIDLIST a = CItemIdList::ConcatPidls(computer, root);
    LPITEMIDLIST b = CItemIdList::ConcatPidls(a, tmp);
    LPITEMIDLIST c = CItemIdList::ConcatPidls(b, file);
    QCOMPARE(CShellItemId::PathOf(computer), QByteArray());
    QCOMPARE(CShellItemId::PathOf(a), QByteArray("/"));
    QCOMPARE(CShellItemId::PathOf(b), QByteArray("/tmp"));
    QCOMPARE(CShellItemId::PathOf(c), "/tmp/" + oddName);
    QVERIFY(CShellItemId::IsFolderList(computer));
    QVERIFY(CShellItemId::IsFolderList(b));
    QVERIFY(!CShellItemId::IsFolderList(c));
    // A name with no folder before it has no path.
    QCOMPARE(CShellItemId::PathOf(file), QByteArray());
    for (LPITEMIDLIST p : {computer, root, tmp, file, a, b, c})
        CItemIdList::FreePidl(p);
}

QTEST_GUILESS_MAIN(TestItemIdList)
#include "tst_itemidlist.moc"

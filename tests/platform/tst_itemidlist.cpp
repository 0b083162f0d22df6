// Item identifier lists: measured, stepped, joined and copied byte for byte, and every
// allocation that fails gives null instead of a list that is not whole.
#include "platform/shell/CItemIdList.h"
#include "platform/shell/CShellItemId.h"
#include "tests/support/ShellLeakCheck.h"

#include <QtTest>
#include <cstdint>
#include <cstring>

using Id = CShellItemId;

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

const char* At(LPCITEMIDLIST pidl, int offset = 0) {
    return reinterpret_cast<const char*>(pidl) + offset;
}

QByteArray Bytes(const void* data, int size) {
    return QByteArray(static_cast<const char*>(data), size);
}
} // namespace

class TestItemIdList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_leaks = ShellLeakCheck(); }
    void cleanup() { m_leaks.Verify(); }

    // A size counts every entry and the terminator; a join leaves out the first list's
    // terminator; CopyItemID takes the first entry only.
    void listsAreMeasuredJoinedAndCopied() {
        QCOMPARE(CItemIdList::GetPidlSize(nullptr), 0u);
        LPITEMIDLIST zeroed = CItemIdList::AllocPidl(40); // allocations start zeroed: empty
        QCOMPARE(CItemIdList::GetPidlSize(zeroed), 2u);
        LPITEMIDLIST a = MakeList(2, 5); // size 12
        LPITEMIDLIST b = MakeList(3, 9); // size 29
        QCOMPARE(CItemIdList::GetPidlSize(b), 3 * 9 + 2u);
        QCOMPARE(At(CItemIdList::NextItemID(b)), At(b, 9));
        QCOMPARE(CItemIdList::GetPidlSize(CItemIdList::NextItemID(b)), 2 * 9 + 2u);
        QCOMPARE(At(CItemIdList::LastItemID(b)), At(b, 18));
        LPITEMIDLIST ab = CItemIdList::ConcatPidls(a, b);
        QCOMPARE(CItemIdList::GetPidlSize(ab), 12u + 29u - 2u);
        QVERIFY(Bytes(ab, 10) == Bytes(a, 10)); // item lists are byte strings
        QVERIFY(Bytes(At(ab, 10), 29) == Bytes(b, 29));
        LPITEMIDLIST copy = CItemIdList::ConcatPidls(nullptr, b);
        QVERIFY(copy != b && CItemIdList::IsEqual(copy, b));
        LPITEMIDLIST same = CItemIdList::ConcatPidls(zeroed, a);
        QVERIFY(CItemIdList::IsEqual(same, a));
        LPITEMIDLIST first = CItemIdList::CopyItemID(CShellMalloc::Get(), b);
        QCOMPARE(CItemIdList::GetPidlSize(first), 9u + 2u);
        QVERIFY(Bytes(first, 9) == Bytes(b, 9));
        for (LPITEMIDLIST p : {zeroed, a, b, ab, copy, same, first})
            CItemIdList::FreePidl(p);
    }

    void failedAllocationsGiveNull() {
        LPITEMIDLIST a = MakeList(1, 4);
        CShellMalloc::Get().FailAfter(1);
        QVERIFY(!CItemIdList::ConcatPidls(a, a));
        CShellMalloc::Get().FailAfter(1);
        QVERIFY(!CItemIdList::CopyItemID(CShellMalloc::Get(), a));
        CShellMalloc::Get().FailAfter(1);
        QVERIFY(!Id::Make(Id::Named, 0, "x"));
        // A name too long for the 16-bit count is refused, not wrapped.
        QVERIFY(!Id::Make(Id::Named, 0, QByteArray(70000, 'x')));
        CItemIdList::FreePidl(a);
    }

private:
    ShellLeakCheck m_leaks;
};

QTEST_MAIN(TestItemIdList)
#include "tst_itemidlist.moc"

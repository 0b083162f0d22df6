#include "platform/shell/CShellItemId.h"

#include <cstring>
#include <limits>

namespace {
constexpr unsigned kHeader = 4; // byte count, kind, flags

const std::uint8_t* Raw(LPCITEMIDLIST entry) {
    return reinterpret_cast<const std::uint8_t*>(entry);
}
} // namespace

LPITEMIDLIST CShellItemId::Make(Kind kind, unsigned char flags, QByteArrayView bytes) {
    const qsizetype cb = kHeader + bytes.size();
    if (cb > std::numeric_limits<std::uint16_t>::max() - 2)
        return nullptr;
    LPITEMIDLIST pidl = CItemIdList::AllocPidl(unsigned(cb) + 2);
    if (!pidl)
        return nullptr;
    auto* p = reinterpret_cast<std::uint8_t*>(pidl);
    const auto count = static_cast<std::uint16_t>(cb);
    std::memcpy(p, &count, sizeof count);
    p[2] = static_cast<std::uint8_t>(kind);
    p[3] = flags;
    if (!bytes.isEmpty())
        std::memcpy(p + kHeader, bytes.data(), bytes.size());
    return pidl; // the terminator is already zero
}

CShellItemId::Kind CShellItemId::KindOf(LPCITEMIDLIST entry) {
    return CItemIdList::EntrySize(entry) >= kHeader ? static_cast<Kind>(Raw(entry)[2]) : Kind(0);
}

unsigned char CShellItemId::FlagsOf(LPCITEMIDLIST entry) {
    return CItemIdList::EntrySize(entry) >= kHeader ? Raw(entry)[3] : 0;
}

QByteArrayView CShellItemId::BytesOf(LPCITEMIDLIST entry) {
    const unsigned cb = CItemIdList::EntrySize(entry);
    if (cb <= kHeader)
        return {};
    return QByteArrayView(reinterpret_cast<const char*>(Raw(entry) + kHeader), cb - kHeader);
}

QByteArray CShellItemId::PathOf(LPCITEMIDLIST pidlAbs) {
    // The path starts at the last Rooted entry; every entry after it must be Named.
    LPCITEMIDLIST root = nullptr;
    qsizetype size = 0;
    for (LPCITEMIDLIST p = pidlAbs; CItemIdList::EntrySize(p); p = CItemIdList::NextItemID(p)) {
        switch (KindOf(p)) {
        case Rooted:
            root = p;
            size = BytesOf(p).size();
            break;
        case Named:
            if (!root)
                return QByteArray(); // a name without a folder to hang it on
            size += 1 + BytesOf(p).size();
            break;
        default:
            root = nullptr;
            break;
        }
    }
    if (!root)
        return QByteArray();
    QByteArray path;
    path.reserve(size);
    path.append(BytesOf(root));
    for (LPCITEMIDLIST p = CItemIdList::NextItemID(root); CItemIdList::EntrySize(p);
         p = CItemIdList::NextItemID(p)) {
        if (!path.endsWith('/'))
            path.append('/');
        path.append(BytesOf(p));
    }
    return path;
}

bool CShellItemId::IsFolderList(LPCITEMIDLIST pidlAbs) {
    LPCITEMIDLIST last = CItemIdList::LastItemID(pidlAbs);
    if (!CItemIdList::EntrySize(last))
        return pidlAbs != nullptr; // the desktop itself
    return KindOf(last) == Computer || IsFolderEntry(last);
}

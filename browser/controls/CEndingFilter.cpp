#include "browser/controls/CEndingFilter.h"

#include "browser/controls/PidlFunctions.h"
#include "platform/shell/CItemIdList.h"
#include "platform/shell/CShellItemId.h"

namespace {
char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - ('a' - 'A')) : c;
}
} // namespace

bool CEndingFilter::EndsWithNoCase(QByteArrayView path, QByteArrayView ending) {
    qsizetype i = path.size() - 1;
    for (qsizetype j = ending.size() - 1; j >= 0; --j, --i) {
        if (i < 0)
            return true;
        if (AsciiUpper(path[i]) != AsciiUpper(ending[j]))
            return false;
    }
    return true;
}

// Most endings lie within the file name, which is compared where it is; the whole path is
// only made for an ending longer than the name.
bool CEndingFilter::Matches(LPCITEMIDLIST pidlAbs, const QStringList& endings) {
    if (m_endingsFor != endings) {
        m_endingsFor = endings;
        m_bytes.clear();
        for (const QString& ending : endings)
            m_bytes.append(ending.toUtf8());
    }
    const LPCITEMIDLIST last = CItemIdList::LastItemID(pidlAbs);
    const bool named = CShellItemId::KindOf(last) == CShellItemId::Named;
    const QByteArrayView name = CShellItemId::BytesOf(last);
    QByteArray path;
    for (const QByteArray& ending : std::as_const(m_bytes)) {
        QByteArrayView subject = name;
        if (!named || name.size() < ending.size()) {
            if (path.isEmpty())
                path = GetNativePathFromPidl(pidlAbs);
            if (path.isEmpty())
                return false; // outside the file system
            subject = path;
        }
        if (EndsWithNoCase(subject, ending))
            return true;
    }
    return false;
}

#include "sorting/widgets/CListPlace.h"

#include "sorting/session/CSortSession.h"
#include "sorting/widgets/CPictureFileList.h"

#include <algorithm>

CListPlace::CListPlace(CPictureFileList& list)
    : m_list(list), m_file(list.CurFileNative()), m_nItem(list.m_nCurItem) {
}

void CListPlace::Restore() {
    if (m_file.isEmpty() || m_nItem < 0)
        return;
    int nItem = m_list.Session().IndexOf(m_file);
    if (nItem < 0)
        nItem = std::min(m_nItem, m_list.GetItemCount() - 1);
    if (nItem >= 0)
        m_list.SelectItem(nItem, true);
}

#include "sorting/widgets/CRelistChoice.h"

#include "sorting/session/CSortSession.h"
#include "sorting/widgets/CPictureFileList.h"

void CRelistChoice::Start(CPictureFileList& list, const QList<QByteArray>& wanted,
                          const std::optional<CListPlace>& place) {
    for (CRelistChoice* before : list.findChildren<CRelistChoice*>(Qt::FindDirectChildrenOnly))
        delete before; // the newest choice counts
    auto* choice = new CRelistChoice(list, wanted, place);
    list.RefreshList();
    if (!list.IsListing()) // nothing read on a worker (no folder, or none of the file system)
        choice->OnListed();
}

CRelistChoice::CRelistChoice(CPictureFileList& list, const QList<QByteArray>& wanted,
                             const std::optional<CListPlace>& place)
    : QObject(&list), m_list(list), m_wanted(wanted), m_place(place),
      m_folder(list.ListedFolderIdentity().Path()) {
    connect(&list, &CNamespaceListView::Listed, this, &CRelistChoice::OnListed);
}

void CRelistChoice::OnListed() {
    if (std::exchange(m_bDone, true))
        return;
    disconnect(&m_list, nullptr, this, nullptr);
    deleteLater();
    if (m_list.ListedFolderIdentity().Path() != m_folder || m_list.m_nCurItem >= 0)
        return; // another folder is on show now, or the person chose a picture meanwhile
    for (const QByteArray& file : std::as_const(m_wanted))
        if (const int nItem = m_list.Session().IndexOf(file); nItem >= 0) {
            m_list.SelectItem(nItem, true);
            return;
        }
    if (m_place)
        m_place->Restore();
}

#include "sorting/session/CSortJob.h"

#include "platform/system/CNativePath.h"

CSortJob::CSortJob(SortAction action, CListedFolder folder, QList<CSortGroup::Picture> pictures,
                   bool bCompanions, std::optional<QSet<QByteArray>> names)
    : m_action(std::move(action)), m_folder(std::move(folder)), m_pictures(std::move(pictures)),
      m_bCompanions(bCompanions), m_names(std::move(names)) {
}

CSortJob::Outcome CSortJob::Run(CFileActionHook* recorder, CFileOpUi& ui,
                                const CFileIdentity& shown) const {
    const QByteArray dir = CNativePath::DirName(m_action.files.value(0));
    const CListedFolder folder = m_folder.Path() == dir ? m_folder : CListedFolder::Take(dir);
    QList<CSortGroup::Picture> pictures = m_pictures;
    for (qsizetype i = 0; i < pictures.size(); ++i)
        if (m_action.rows.value(i) == m_action.index)
            pictures[i].shown = shown;
    CSortGroup group(folder.Open(), pictures, m_bCompanions, m_names ? &*m_names : nullptr);
    Outcome out;
    out.files = group.Files();
    out.results = group.Perform(m_action, recorder, ui);
    for (qsizetype i = 0; i < out.files.size(); ++i)
        if (!out.results.value(i).Succeeded() && group.IsGone(i))
            out.gone.append(out.files.at(i));
    return out;
}

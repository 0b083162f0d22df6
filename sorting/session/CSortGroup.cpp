#include "sorting/session/CSortGroup.h"

#include "platform/files/CFileActionHook.h"
#include "platform/files/CFileOperations.h"
#include "platform/files/CGroupConflicts.h"
#include "sorting/session/Companions.h"

#include <QCoreApplication>
#include <QSet>
#include <optional>

namespace {
// From this many pictures on, one reading of the folder costs less than looking up every
// spelling of every companion name of each.
constexpr int kListingFrom = 8;

CFileAction::Kind JournalKind(const SortAction& action) {
    switch (action.kind) {
    case SortAction::Kind::Move:
        return CFileAction::Kind::Move;
    case SortAction::Kind::Copy:
        return CFileAction::Kind::Copy;
    case SortAction::Kind::Delete:
        break;
    }
    return action.bToTrash ? CFileAction::Kind::Trash : CFileAction::Kind::Delete;
}
} // namespace

// A companion that is one of the chosen pictures itself goes as a picture, once.
CSortGroup::CSortGroup(CFolderHandle folder, const QList<Picture>& pictures, bool bCompanions,
                       const QSet<QByteArray>* folderNames)
    : m_folder(std::move(folder)), m_nPictures(int(pictures.size())) {
    QSet<QByteArray> names;
    for (const Picture& picture : pictures) {
        m_entries.append({m_folder, picture.name, picture.shown});
        m_owner.append(-1);
        names.insert(picture.name);
    }
    if (!bCompanions)
        return;
    // Many pictures: the folder is read once, and only the names it holds are looked up.
    std::optional<QSet<QByteArray>> listing;
    if (!folderNames && m_nPictures >= kListingFrom)
        listing = companions::Names(m_folder.Fd());
    const QSet<QByteArray>* listed = folderNames ? folderNames : (listing ? &*listing : nullptr);
    for (int i = 0; i < m_nPictures; ++i) {
        for (const companions::Companion& c :
             companions::FindIn(m_folder.Fd(), pictures[i].name, listed)) {
            if (names.contains(c.name))
                continue;
            names.insert(c.name);
            m_entries.append({m_folder, c.name, c.identity});
            m_owner.append(i);
        }
    }
}

QList<QByteArray> CSortGroup::Files() const {
    QList<QByteArray> files;
    for (const CFolderEntry& entry : m_entries)
        files.append(entry.Path());
    return files;
}

QList<CFileOpResult> CSortGroup::Perform(const SortAction& action, CFileActionHook* recorder,
                                         CFileOpUi& ui) {
    std::optional<CGroupConflicts> group;
    CFileOpUi* asked = &ui;
    if (m_nPictures > 1)
        asked = &group.emplace(ui);
    CFileOperations ops(*asked);
    const QList<QByteArray> files = Files();
    QList<bool> went(m_entries.size(), false);
    bool bStopped = false;
    return CFileActionHook::Perform(
        recorder, {JournalKind(action), files, action.destDir}, [&](const QByteArray& file) {
            const qsizetype i = files.indexOf(file);
            if (i < 0)
                return Skipped(QString());
            const int owner = m_owner.at(i);
            if (owner >= 0 && !went.at(owner))
                return Skipped(QCoreApplication::translate("CSortSession", "its picture stayed"));
            if (owner < 0 && bStopped)
                return Skipped(QCoreApplication::translate(
                    "CSortSession", "an earlier picture of the action failed"));
            const CFileOpResult result = PerformOne(action, m_entries.at(i), ops);
            went[i] = result.Succeeded();
            bStopped =
                bStopped || (owner < 0 && (result.outcome == CFileOpResult::Outcome::Failed ||
                                           result.outcome == CFileOpResult::Outcome::Cancelled));
            return result;
        });
}

CFileOpResult CSortGroup::Skipped(const QString& why) {
    CFileOpResult stayed;
    stayed.outcome = CFileOpResult::Outcome::Skipped;
    stayed.error = why;
    return stayed;
}

CFileOpResult CSortGroup::PerformOne(const SortAction& action, const CFolderEntry& file,
                                     CFileOperations& ops) {
    switch (action.kind) {
    case SortAction::Kind::Move:
        return ops.Move(file, action.destDir);
    case SortAction::Kind::Copy:
        return ops.Copy(file, action.destDir);
    case SortAction::Kind::Delete:
        return ops.Delete(file, action.bToTrash);
    }
    return CFileOpResult();
}

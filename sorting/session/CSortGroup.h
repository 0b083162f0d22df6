#pragma once

#include "platform/files/CFileIdentity.h"
#include "platform/files/CFileOpResult.h"
#include "platform/files/CFolderEntry.h"
#include "platform/files/CFolderHandle.h"
#include "sorting/session/SortAction.h"

#include <QList>
#include <QSet>
#include <optional>

class CFileActionHook;
class CFileOperations;
class CFileOpUi;

// The files one sort action takes, in the order they go: the chosen pictures in list
// order, then the companions of each, every one reached through one descriptor of the
// listed folder. They are done as one action of the journal, so that one undo brings them
// all back. A companion goes only when its picture went; after a picture failed, the
// pictures after it are not tried, so that a full disk or a lost share stops the action
// where it is and leaves the rest in place. Conflicts of several pictures are asked with
// the offer to answer them all at once.
class CSortGroup {
public:
    struct Picture {
        QByteArray name;
        std::optional<CFileIdentity> shown; // the file that was shown under the name
    };

    // With `folderNames` (the folder's entries as a listing knows them), companions are
    // looked up only under names it holds; without, many pictures read the folder once.
    CSortGroup(CFolderHandle folder, const QList<Picture>& pictures, bool bCompanions,
               const QSet<QByteArray>* folderNames = nullptr);
    CSortGroup(const CSortGroup&) = delete;
    CSortGroup& operator=(const CSortGroup&) = delete;

    // The paths of every file, in the order they go.
    QList<QByteArray> Files() const;
    int PictureCount() const { return m_nPictures; }
    // Whether file i (of Files()) is known to be no longer in the folder under its name.
    bool IsGone(qsizetype i) const {
        return m_folder.Fd() >= 0 && i < m_entries.size() && !m_entries.at(i).Exists();
    }
    // Does the action on every file, recorded by `recorder` (null: not recorded); the
    // results in the order of Files().
    QList<CFileOpResult> Perform(const SortAction& action, CFileActionHook* recorder,
                                 CFileOpUi& ui);

private:
    static CFileOpResult Skipped(const QString& why);
    static CFileOpResult PerformOne(const SortAction& action, const CFolderEntry& file,
                                    CFileOperations& ops);

    CFolderHandle m_folder;
    QList<CFolderEntry> m_entries;
    QList<int> m_owner; // the entry of a companion's picture; -1 for a picture
    int m_nPictures = 0;
};

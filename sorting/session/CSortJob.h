#pragma once

#include "platform/files/CFileOpResult.h"
#include "platform/files/CListedFolder.h"
#include "sorting/session/CSortGroup.h"
#include "sorting/session/SortAction.h"

#include <QList>
#include <QSet>
#include <optional>

class CFileActionHook;
class CFileOpUi;

// The file work of one sort action, everything of it that touches the disk, as the session's
// worker does it: the listed folder opened again and checked, the companions found among the
// names the list knows, and the files moved, copied or deleted as one action of the journal.
// It holds copies of what it needs, never the session's own data.
class CSortJob {
public:
    struct Outcome {
        QList<QByteArray> files;      // every file of the action, in the order they went
        QList<CFileOpResult> results; // in the same order
        QList<QByteArray> gone;       // files that did not go and are no longer there either
    };

    // `folder` is the listed folder when the pictures are its own; else it is taken as it
    // is now. `names`: the folder's entries as the list knows them, if it knows them.
    CSortJob(SortAction action, CListedFolder folder, QList<CSortGroup::Picture> pictures,
             bool bCompanions, std::optional<QSet<QByteArray>> names);

    // `shown`: the file the picture on show (the action's `file`) was when it was shown;
    // the action refuses any other under its name.
    Outcome Run(CFileActionHook* recorder, CFileOpUi& ui, const CFileIdentity& shown) const;
    const SortAction& Action() const { return m_action; }

private:
    SortAction m_action;
    CListedFolder m_folder;
    QList<CSortGroup::Picture> m_pictures;
    bool m_bCompanions;
    std::optional<QSet<QByteArray>> m_names;
};

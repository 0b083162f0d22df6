#pragma once

#include "sorting/session/PictureFacts.h"
#include "sorting/widgets/CPictureList.h"

class CSortSession;

// The picture list of the file browser pane: a view on its sort session's pictures and
// selection, which the session owns and which must outlive the list. The list fills the
// session's rows from the folder, tells it which picture is shown and the figures of it,
// and lets it move, copy and delete the current file, then selects the picture the session
// moved on to.
class CPictureFileList : public CPictureList {
    Q_OBJECT
public:
    explicit CPictureFileList(CSortSession& session, QWidget* parent = nullptr);
    ~CPictureFileList() override;

    CSortSession& Session() const { return *m_pSession; }

    // With nItem -1: no current file any more, the picture hidden and the status says so.
    void SelectItem(int nItem, bool bSelect) override;
    void OnFolderSelected(int nItem) override;
    void OnListFilled() override;
    void OnListGrew() override;
    void OnFileSelected(int nItem) override;
    void OnCurrentFileVanished(int nPlace) override;
    void OnItemsChanged() override;
    bool MoveCurFile(const QString& destDir) override;
    bool DeleteCurFile(bool bAllowUndo) override;
    // Copies the current file into destDir and moves on to the next file when it worked.
    bool CopyCurFile(const QString& destDir);
    // Shows a file that came back into the folder on show (after an undo): the list is
    // read again, and the file selected once the listing has ended (it may return before).
    // False when the file lies in another folder.
    bool ShowFile(const QByteArray& path);

    void UpdateFileCount();
    void UpdateStatusText();
    static QString GetTitleFileName(const QString& strPath);

    QString m_strStatusText;

Q_SIGNALS:
    // The current file changed (another file, or none).
    void CurrentFileChanged();

protected:
    void OnPictureFailed() override;
    void OnPictureInfoChanged() override;
    // The session's: after a sort, the picture the next sort moves on to comes first.
    QStringList DecodeAheadCandidates(int nItem) override;

private:
    // The session acts on the picture the list shows, or on none.
    bool ShowsSessionPicture() const;
    void OnSessionMovedOn(int nItem);
    void TakeBackRows();
    void FollowOrder();
    void FollowListedNames();
    PictureFacts CurrentFacts() const;

    CSortSession* m_pSession;
    bool m_bMovingOn = false; // the session's move on selects its picture
};

#pragma once

#include "sorting/CPictureList.h"

class CFrameServices;

// The picture list of the file browser pane: it also reports the current file in the
// status bar (its figures, size and type, and the number of files) and in the caption, and
// it moves, copies and deletes the current file, then moves on to the next one.
class CPictureFileList : public CPictureList {
    Q_OBJECT
public:
    explicit CPictureFileList(QWidget* parent = nullptr);

    // With nItem -1: no current file any more, the picture hidden and the status says so.
    void SelectItem(int nItem, bool bSelect) override;
    void OnFolderSelected(int nItem) override;
    void OnListFilled() override;
    void OnFileSelected(int nItem) override;
    bool MoveCurFile(const QString& destDir) override;
    bool DeleteCurFile(bool bAllowUndo) override;
    // Copies the current file into destDir and moves on to the next file when it worked.
    bool CopyCurFile(const QString& destDir);

    void UpdateFileCount();
    void UpdateStatusText();
    static QString GetTitleFileName(const QString& strPath);

    QString m_strStatusText;

Q_SIGNALS:
    // The current file changed (another file, or none).
    void CurrentFileChanged();

private:
    CFrameServices* Frame() const;
    QString DescribeCurrentFile() const;
    // With no current file left, the picture goes and the status bar says so.
    void AfterFileOperation();
};

#pragma once

#include "browser/namespace/CNamespaceListView.h"
#include "picture/view/CImageCtrl.h"

#include <QPointer>
#include <memory>

class CQtFilePath;

// The file list that shows its current file in the picture view: selecting a file loads it
// into the imaging control, scaled to fit the view or at its own size, and has the
// pictures next to it (in the direction of travel first) decoded ahead. The control
// decodes in the background, so loading returns at once; a fitted picture is fitted again
// whenever the view changes size.
class CPictureList : public CNamespaceListView {
    Q_OBJECT
public:
    explicit CPictureList(QWidget* parent = nullptr, CListCtrlModel* items = nullptr,
                          QItemSelectionModel* selection = nullptr);
    ~CPictureList() override;

    // Loads the current file into the imaging control, fits it when asked, shows it and
    // records its figures (from its header; the pixels follow). nItem is the current item.
    void LoadPicture(int nItem);
    // Hides the imaging control.
    void HidePicture();

    void OnFolderSelected(int nItem) override;
    void OnListFilled() override;
    void InitList(const QString& path) override;
    void OnFileSelected(int nItem) override;

    // The control that shows the pictures (the picture view's, set by the main window);
    // null: the list shows none.
    void SetPictureCtrl(CImageCtrl* ctrl) { m_pPictureCtrl = ctrl; }

    CImageCtrl* m_pPictureCtrl = nullptr; // not owned
    int m_bFitToWindow = 1;
    qint64 m_nFileSize = 0;
    long m_nPicWidth = 0;
    long m_nPicHeight = 0;
    short m_nBitsPerPixel = 0;

protected:
    // Decoding the current picture failed after its header was read.
    virtual void OnPictureFailed() {}
    // The picture's size or depth became known after its header was read (from its pixels):
    // the figures are recorded and a fitted picture is fitted again.
    virtual void OnPictureInfoChanged();
    // The pictures to decode ahead while item nItem is shown, most likely first: here the
    // next one in the direction of travel, then the one behind.
    virtual QStringList DecodeAheadCandidates(int nItem);

private:
    void FitPicture();
    // Records the figures of the picture shown.
    void TakeFigures(const CImageCtrl::State& state);
    void WatchControl();
    void OnPictureResized();
    void DecodeAhead(int nItem);
    QString PrefetchPath(int nItem);

    QPointer<CImageCtrl> m_pWatchedCtrl;
    // Keeps a name that is not valid UTF-8 readable while its picture is decoded.
    std::unique_ptr<CQtFilePath> m_pShownFile;
    int m_nLastShown = -1;
};

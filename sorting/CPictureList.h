#pragma once

#include "browser/CNamespaceListView.h"

class CImageCtrl;

// The file list that shows its current file in the picture view: selecting a file loads it
// into the imaging control, scaled to fit the view or at its own size.
class CPictureList : public CNamespaceListView {
    Q_OBJECT
public:
    explicit CPictureList(QWidget* parent = nullptr);

    // Loads the current file into the imaging control, fits it when asked, shows it and
    // records its figures. nItem is the current item (the figures come from the control).
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

private:
    void FitPicture();
};

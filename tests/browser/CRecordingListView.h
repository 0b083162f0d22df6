#pragma once

#include "browser/namespace/CNamespaceListView.h"

#include <QStringList>
#include <functional>

// A file list that records what it is told instead of acting on it.
class CRecordingListView : public CNamespaceListView {
public:
    QList<int> m_filesSelected;
    QList<int> m_foldersSelected;
    int m_nListFilled = 0;
    int m_nItemsChanged = 0; // rows added or removed by the following of the folder
    QList<QByteArray> m_opened;

    void OnFileSelected(int nItem) override { m_filesSelected.append(nItem); }
    void OnFolderSelected(int nItem) override { m_foldersSelected.append(nItem); }
    std::function<void()> m_onGrew; // called each time a listing adds items
    void OnListFilled() override { ++m_nListFilled; }
    void OnItemsChanged() override { ++m_nItemsChanged; }
    void OnListGrew() override {
        if (m_onGrew)
            m_onGrew();
    }
    void OpenFile(const QByteArray& nativePath, int) override { m_opened.append(nativePath); }

    QStringList Texts() const {
        QStringList texts;
        for (int i = 0; i < GetItemCount(); ++i)
            texts.append(GetItemText(i));
        return texts;
    }
    int Find(const QString& text) const { return int(Texts().indexOf(text)); }
};

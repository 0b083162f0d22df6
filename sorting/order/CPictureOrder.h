#pragma once

#include "browser/controls/CItemOrder.h"
#include "sorting/order/PictureOrder.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QTimer>

class CFileFactsReader;

// The order the listed pictures are shown in (View > Sort By) and what it knows of their
// files. It reads what the order needs off the interface thread and says Changed as the
// facts arrive, at most a few times a second, so that the list sorts itself again; until
// a picture's facts are known it stands last. Facts stay known for the listed folder's
// names, so a picture that comes back (an undo) takes its place at once.
class CPictureOrder : public QObject, public CItemOrder {
    Q_OBJECT
public:
    using SortBy = picture_order::SortBy;

    explicit CPictureOrder(QObject* parent = nullptr);
    ~CPictureOrder() override;

    void SetSortBy(SortBy by, bool bDescending);
    SortBy By() const { return m_by; }
    bool Descending() const { return m_bDescending; }
    // Whether the folder's own order by name is all there is to it.
    bool IsByName() const { return m_by == SortBy::Name && !m_bDescending; }

    // The pictures `names` of `folder` (native) are listed: what the order needs of those
    // not known yet is read. Another folder's facts are forgotten.
    void Follow(const QByteArray& folder, const QList<QByteArray>& names);
    // Whether facts are still being read.
    bool IsReading() const;

    std::vector<int> Arrange(const std::vector<QByteArrayView>& namesByName) const override;

Q_SIGNALS:
    // The order changed, or facts arrived: the list is to be sorted again.
    void Changed();

private:
    void ReadMissing();
    void Learn(const QList<QPair<QByteArray, picture_order::SFileFacts>>& batch);

    SortBy m_by = SortBy::Name;
    bool m_bDescending = false;
    QByteArray m_folder;
    QList<QByteArray> m_names;
    QHash<QByteArray, picture_order::SFileFacts> m_facts;
    CFileFactsReader* m_pReader;
    QTimer m_settle; // gathers the batches of a moment into one Changed
};

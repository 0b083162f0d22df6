#pragma once

#include "sorting/widgets/CListPlace.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <optional>

class CPictureFileList;

// The picture list read again on a worker (an undo, a redo, another filter), then one
// picture chosen once the listing has ended: the first of the files wanted that is listed,
// else the place the list was at before (CListPlace), if one is given. Given up when another
// folder is listed meanwhile, the person chose a picture meanwhile, or another choice is
// asked for.
class CRelistChoice : public QObject {
    Q_OBJECT
public:
    static void Start(CPictureFileList& list, const QList<QByteArray>& wanted,
                      const std::optional<CListPlace>& place);

private:
    CRelistChoice(CPictureFileList& list, const QList<QByteArray>& wanted,
                  const std::optional<CListPlace>& place);
    void OnListed();

    CPictureFileList& m_list;
    QList<QByteArray> m_wanted;
    std::optional<CListPlace> m_place;
    QByteArray m_folder; // the folder listed again
    bool m_bDone = false;
};

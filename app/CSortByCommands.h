#pragma once

#include <QHash>
#include <QObject>

class CPictureOrder;
class CSettings;
class QAction;

// View > Sort By: one checked order of the file list (name, date taken, date modified,
// size, type) and one checked direction, kept in the settings and given to the session's
// order, which the list follows.
class CSortByCommands : public QObject {
    Q_OBJECT
public:
    CSortByCommands(const QHash<int, QAction*>& actions, CPictureOrder& order, CSettings& settings,
                    QObject* parent);

private:
    void Choose();

    QHash<int, QAction*> m_byOrder; // the order's number in the settings -> its action
    QAction* m_pDescending;
    CPictureOrder& m_order;
    CSettings& m_settings;
};

#include "app/CSortByCommands.h"

#include "resources/CommandIds.h"
#include "settings/CSettings.h"
#include "sorting/order/CPictureOrder.h"

#include <QAction>
#include <QActionGroup>

namespace {
// In the order of the settings' numbers and of picture_order::SortBy.
constexpr int kOrderIds[CSettings::kSortOrderCount] = {
    cmd::ID_SORT_BY_NAME, cmd::ID_SORT_BY_DATE_TAKEN, cmd::ID_SORT_BY_DATE_MODIFIED,
    cmd::ID_SORT_BY_SIZE, cmd::ID_SORT_BY_TYPE};
static_assert(picture_order::kSortByCount == CSettings::kSortOrderCount);

QActionGroup* CheckedGroup(QObject* parent) {
    auto* group = new QActionGroup(parent);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    return group;
}

QAction* Checkable(QAction* action, QActionGroup* group, bool bChecked) {
    action->setCheckable(true);
    action->setChecked(bChecked);
    group->addAction(action);
    return action;
}
} // namespace

CSortByCommands::CSortByCommands(const QHash<int, QAction*>& actions, CPictureOrder& order,
                                 CSettings& settings, QObject* parent)
    : QObject(parent), m_pDescending(actions.value(cmd::ID_SORT_DESCENDING)), m_order(order),
      m_settings(settings) {
    QActionGroup* orders = CheckedGroup(this);
    for (int n = 0; n < CSettings::kSortOrderCount; ++n)
        m_byOrder.insert(
            n, Checkable(actions.value(kOrderIds[n]), orders, n == m_settings.GetSortBy()));
    QActionGroup* directions = CheckedGroup(this);
    Checkable(actions.value(cmd::ID_SORT_ASCENDING), directions, !m_settings.GetSortDescending());
    Checkable(m_pDescending, directions, m_settings.GetSortDescending());
    connect(orders, &QActionGroup::triggered, this, &CSortByCommands::Choose);
    connect(directions, &QActionGroup::triggered, this, &CSortByCommands::Choose);
    Choose();
}

void CSortByCommands::Choose() {
    int chosen = 0;
    for (auto it = m_byOrder.cbegin(); it != m_byOrder.cend(); ++it)
        if (it.value()->isChecked())
            chosen = it.key();
    m_settings.SetSortBy(chosen);
    m_settings.SetSortDescending(m_pDescending->isChecked());
    m_order.SetSortBy(picture_order::SortBy(chosen), m_pDescending->isChecked());
}

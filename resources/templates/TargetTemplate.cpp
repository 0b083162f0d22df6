#include "resources/templates/TargetTemplate.h"

#include <array>
#include <cstddef>
#include <utility>

namespace dlg {
namespace {

constexpr Control Destination(int i) {
    return Control{IDC_TARGET1 + i,
                   Kind::PushButton,
                   QT_TRANSLATE_NOOP("DialogTemplate", "< None >"),
                   0,
                   28 + 11 * i,
                   55,
                   11,
                   TabStop};
}

template <std::size_t... I> constexpr auto MakeControls(std::index_sequence<I...>) {
    return std::array{
        Control{IDC_DELETE, Kind::PushButton, QT_TRANSLATE_NOOP("DialogTemplate", "Delete"), 0, 10,
                55, 16, TabStop},
        Destination(static_cast<int>(I))...,
        Control{IDC_HOME, Kind::PushButton, QT_TRANSLATE_NOOP("DialogTemplate", "Home"), 0, 252, 55,
                16, TabStop},
        Control{IDC_TAB_GROUPS, Kind::TabControl, nullptr, 0, 1, 55, 269, None},
    };
}

constexpr auto kControls = MakeControls(std::make_index_sequence<kTargetButtons>{});

constexpr Template kTarget{"132", nullptr, 55, 270, kControls};

} // namespace

const Template& TargetTemplate() {
    return kTarget;
}

} // namespace dlg

#pragma once

#include "resources/DialogTemplate.h"

namespace dlg {
inline constexpr int IDD_TARGET = 132;
inline constexpr int IDC_DELETE = 1003;
inline constexpr int IDC_HOME = 1004;
inline constexpr int IDC_TAB_GROUPS = 1011;
inline constexpr int IDC_TARGET1 = 1100; // destination i is IDC_TARGET1 + i, i = 0 to 19
inline constexpr int kTargetButtons = 20;
// The destination button bar: Delete, twenty destinations, Home, and behind them the tabs.
const Template& TargetTemplate();
} // namespace dlg

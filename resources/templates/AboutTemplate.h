#pragma once

#include "resources/DialogTemplate.h"

namespace dlg {
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDC_SYSTEM_MEMORY = 1008;
const Template& AboutTemplate();
} // namespace dlg

#pragma once

#include "resources/DialogTemplate.h"

namespace dlg {
inline constexpr int IDD_TARGET_DIRS = 137;
// Browse button k (0 = home, 1 to 20 = destination k) fills directory edit 1600 + k.
inline constexpr int IDC_BROWSE_BASE = 1500;
inline constexpr int IDC_DIR_BASE = 1600;
inline constexpr int IDC_HOME_LABEL = 1700; // the disabled edit that shows "Home"
// Destination i (0 to 19) has its name in 1701 + i and its directory in 1601 + i.
inline constexpr int IDC_FIRST_NAME = 1701;
inline constexpr int IDC_FIRST_DIR = 1601;
// Target set n (0 to 3) has radio button 1200 + n.
inline constexpr int IDC_GROUP_BASE = 1200;
const Template& TargetDirsTemplate();
} // namespace dlg

#pragma once

#include "resources/DialogTemplate.h"

namespace dlg {
inline constexpr int IDD_CONFIG = 136;
inline constexpr int IDC_MOVE_FILE = 1005; // first of the radio group: Move, Copy
inline constexpr int IDC_COPY_FILE = 1006;
inline constexpr int IDC_RESIZE_TO_FIT = 1007;
inline constexpr int IDC_RECYCLE_BIN = 1010;
inline constexpr int IDC_MOVE_COMPANIONS = 1011; // sidecars and twins go with the picture
const Template& ConfigTemplate();
} // namespace dlg

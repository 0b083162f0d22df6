#pragma once

#include "resources/DialogTemplate.h"

namespace dlg {
// The directory picker's controls. Those placed at x 170 lie beyond the 160-unit-wide
// client area and are created hidden: only the folders, the drives and the buttons show.
inline constexpr int IDC_FILE_NAME_LABEL = 1090;
inline constexpr int IDC_FILE_NAME = 1152;
inline constexpr int IDC_FILE_LIST = 1120;
inline constexpr int IDC_CURRENT_DIR = 1088;
inline constexpr int IDC_FOLDER_LIST = 1121;
inline constexpr int IDC_FILE_TYPE_LABEL = 1089;
inline constexpr int IDC_FILE_TYPES = 1136;
inline constexpr int IDC_DRIVES_LABEL = 1091;
inline constexpr int IDC_DRIVES = 1137;
inline constexpr int IDC_HELP = 1038;
inline constexpr int IDC_READ_ONLY = 1040;
inline constexpr int IDC_NEW_FOLDER = 1041;
const Template& DirOpenTemplate();
} // namespace dlg

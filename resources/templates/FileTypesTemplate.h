#pragma once

#include "resources/DialogTemplate.h"

namespace dlg {
inline constexpr int IDD_FILE_TYPES = 138;
inline constexpr int IDC_ALL_FILES = 1028;
// The thirteen format boxes are 1012 to 1024.
inline constexpr int IDC_FIRST_FORMAT = 1012;
inline constexpr int IDC_LAST_FORMAT = 1024;
// The boxes of the types added later, below the thirteen.
inline constexpr int IDC_WEBP = 1030;
inline constexpr int IDC_HEIC = 1031;
inline constexpr int IDC_AVIF = 1032;
inline constexpr int IDC_RAW = 1033;
const Template& FileTypesTemplate();
} // namespace dlg

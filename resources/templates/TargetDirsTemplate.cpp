#include "resources/templates/TargetDirsTemplate.h"

#include <array>

namespace dlg {
namespace {

constexpr int kRows = 20;
constexpr int kRowHeight = 14;
constexpr unsigned kEdit = Border | TabStop | AutoHScroll;

// Destinations 1 to 10 fill the left column, 11 to 20 the right one.
constexpr std::array kRowY{23, 39, 55, 71, 87, 103, 119, 135, 151, 166,
                           22, 38, 54, 70, 86, 102, 118, 134, 150, 166};
constexpr std::array kRowLabels{
    "Button1:",  "Button2:",  "Button3:",  "Button4:",  "Button5:",  "Button6:",  "Button7:",
    "Button8:",  "Button9:",  "Button10:", "Button11:", "Button12:", "Button13:", "Button14:",
    "Button15:", "Button16:", "Button17:", "Button18:", "Button19:", "Button20:"};
constexpr std::array kGroupLabels{"Button Group 1", "Button Group 2", "Button Group 3",
                                  "Button Group 4"};
// Column offsets from the label's x: name edit, directory edit, Browse button.
constexpr int kLeftX = 7, kRightX = 234;
constexpr int kNameDx = 32, kDirDx = 84, kBrowseDx = 180;
constexpr int kLabelWidth = 31, kNameWidth = 49, kDirWidth = 93, kBrowseWidth = 39;

constexpr auto MakeControls() {
    std::array<Control, 6 + 4 * kRows + 4> c{};
    int n = 0;
    c[n++] = Control{1, Kind::DefPushButton, "OK", 266, 7, 49, kRowHeight, TabStop};
    c[n++] = Control{2, Kind::PushButton, "Cancel", 318, 7, 49, kRowHeight, TabStop};
    c[n++] = Control{1033, Kind::Static, "Home:", 7, 9, kLabelWidth, 8, Group};
    c[n++] =
        Control{IDC_HOME_LABEL, Kind::Edit, "", 39, 7, kNameWidth, kRowHeight, kEdit | Disabled};
    c[n++] = Control{IDC_DIR_BASE, Kind::Edit, "", 91, 7, kDirWidth, kRowHeight, kEdit};
    c[n++] = Control{IDC_BROWSE_BASE, Kind::PushButton, "Browse...", 187, 7,
                     kBrowseWidth,    kRowHeight,       TabStop};
    for (int i = 0; i < kRows; ++i) {
        const int x = i < 10 ? kLeftX : kRightX;
        const int y = kRowY[i];
        c[n++] = Control{1034 + i, Kind::Static, kRowLabels[i], x, y, kLabelWidth, 8, Group};
        c[n++] = Control{IDC_FIRST_NAME + i, Kind::Edit, "",   x + kNameDx, y,
                         kNameWidth,         kRowHeight, kEdit};
        c[n++] =
            Control{IDC_FIRST_DIR + i, Kind::Edit, "", x + kDirDx, y, kDirWidth, kRowHeight, kEdit};
        c[n++] = Control{IDC_BROWSE_BASE + 1 + i,
                         Kind::PushButton,
                         "Browse...",
                         x + kBrowseDx,
                         y,
                         kBrowseWidth,
                         kRowHeight,
                         TabStop};
    }
    for (int g = 0; g < 4; ++g)
        c[n++] = Control{
            IDC_GROUP_BASE + g,   Kind::RadioButton, kGroupLabels[g], 35 + 108 * g, 185, 64, 10,
            g == 0 ? Group : None};
    return c;
}

constexpr auto kControls = MakeControls();

constexpr Template kTargetDirs{"137", "Edit Destination Directories", 460, 202, kControls};

} // namespace

const Template& TargetDirsTemplate() {
    return kTargetDirs;
}

} // namespace dlg

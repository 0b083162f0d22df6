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
constexpr std::array kRowLabels{QT_TRANSLATE_NOOP("DialogTemplate", "Button1:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button2:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button3:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button4:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button5:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button6:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button7:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button8:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button9:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button10:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button11:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button12:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button13:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button14:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button15:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button16:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button17:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button18:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button19:"),
                                QT_TRANSLATE_NOOP("DialogTemplate", "Button20:")};
constexpr std::array kGroupLabels{QT_TRANSLATE_NOOP("DialogTemplate", "Button Group 1"),
                                  QT_TRANSLATE_NOOP("DialogTemplate", "Button Group 2"),
                                  QT_TRANSLATE_NOOP("DialogTemplate", "Button Group 3"),
                                  QT_TRANSLATE_NOOP("DialogTemplate", "Button Group 4")};
// Column offsets from the label's x: name edit, directory edit, Browse button.
constexpr int kLeftX = 7, kRightX = 234;
constexpr int kNameDx = 32, kDirDx = 84, kBrowseDx = 180;
constexpr int kLabelWidth = 31, kNameWidth = 49, kDirWidth = 93, kBrowseWidth = 39;

constexpr auto MakeControls() {
    std::array<Control, 6 + 4 * kRows + 4> c{};
    int n = 0;
    c[n++] = Control{1,
                     Kind::DefPushButton,
                     QT_TRANSLATE_NOOP("DialogTemplate", "OK"),
                     266,
                     7,
                     49,
                     kRowHeight,
                     TabStop};
    c[n++] = Control{
        2,          Kind::PushButton, QT_TRANSLATE_NOOP("DialogTemplate", "Cancel"), 318, 7, 49,
        kRowHeight, TabStop};
    c[n++] =
        Control{1033, Kind::Static, QT_TRANSLATE_NOOP("DialogTemplate", "Home:"), 7, 9, kLabelWidth,
                8,    Group};
    c[n++] =
        Control{IDC_HOME_LABEL, Kind::Edit, "", 39, 7, kNameWidth, kRowHeight, kEdit | Disabled};
    c[n++] = Control{IDC_DIR_BASE, Kind::Edit, "", 91, 7, kDirWidth, kRowHeight, kEdit};
    c[n++] = Control{IDC_BROWSE_BASE,
                     Kind::PushButton,
                     QT_TRANSLATE_NOOP("DialogTemplate", "Browse..."),
                     187,
                     7,
                     kBrowseWidth,
                     kRowHeight,
                     TabStop};
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
                         QT_TRANSLATE_NOOP("DialogTemplate", "Browse..."),
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

constexpr Template kTargetDirs{"137",
                               QT_TRANSLATE_NOOP("DialogTemplate", "Edit Destination Directories"),
                               460, 202, kControls};

} // namespace

const Template& TargetDirsTemplate() {
    return kTargetDirs;
}

} // namespace dlg

#include "resources/templates/ConfigTemplate.h"

#include <array>

namespace dlg {
namespace {

constexpr std::array kControls{
    // OK and Cancel keep to the right edge, which moved out for the companions' longer line.
    Control{1, Kind::DefPushButton, QT_TRANSLATE_NOOP("DialogTemplate", "OK"), 232, 7, 50, 16,
            TabStop},
    Control{2, Kind::PushButton, QT_TRANSLATE_NOOP("DialogTemplate", "Cancel"), 232, 25, 50, 16,
            TabStop},
    Control{1033, Kind::Static, QT_TRANSLATE_NOOP("DialogTemplate", "Destination Button Behavior:"),
            7, 7, 91, 8, Group},
    Control{IDC_MOVE_FILE, Kind::RadioButton, QT_TRANSLATE_NOOP("DialogTemplate", "Move File"), 18,
            17, 47, 10, Group},
    Control{IDC_COPY_FILE, Kind::RadioButton, QT_TRANSLATE_NOOP("DialogTemplate", "Copy File"), 88,
            17, 45, 10, None},
    Control{1034, Kind::Static, QT_TRANSLATE_NOOP("DialogTemplate", "View Control Behavior:"), 7,
            36, 72, 8, Group},
    Control{IDC_RESIZE_TO_FIT, Kind::CheckBox,
            QT_TRANSLATE_NOOP("DialogTemplate", "Resize Picture to fit View Area"), 18, 46, 111, 10,
            TabStop},
    Control{1036, Kind::Static, QT_TRANSLATE_NOOP("DialogTemplate", "Deletion Behavior:"), 7, 65,
            59, 8, Group},
    Control{IDC_RECYCLE_BIN, Kind::CheckBox,
            QT_TRANSLATE_NOOP("DialogTemplate", "Send deleted items to Recycling Bin"), 18, 75, 129,
            10, TabStop},
    // Added below the original controls, which keep their places.
    Control{1037, Kind::Static, QT_TRANSLATE_NOOP("DialogTemplate", "Companion Files:"), 7, 94, 59,
            8, Group},
    Control{IDC_MOVE_COMPANIONS, Kind::CheckBox,
            QT_TRANSLATE_NOOP("DialogTemplate",
                              "Move, copy and delete companion files (RAW, .xmp) with the picture"),
            18, 104, 264, 10, TabStop},
};

constexpr Template kConfig{"136", QT_TRANSLATE_NOOP("DialogTemplate", "Program Configuration"), 289,
                           122, kControls};

} // namespace

const Template& ConfigTemplate() {
    return kConfig;
}

} // namespace dlg

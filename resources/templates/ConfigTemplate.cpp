#include "resources/templates/ConfigTemplate.h"

#include <array>

namespace dlg {
namespace {

constexpr std::array kControls{
    Control{1, Kind::DefPushButton, "OK", 162, 7, 50, 16, TabStop},
    Control{2, Kind::PushButton, "Cancel", 162, 25, 50, 16, TabStop},
    Control{1033, Kind::Static, "Destination Button Behavior:", 7, 7, 91, 8, Group},
    Control{IDC_MOVE_FILE, Kind::RadioButton, "Move File", 18, 17, 47, 10, Group},
    Control{IDC_COPY_FILE, Kind::RadioButton, "Copy File", 88, 17, 45, 10, None},
    Control{1034, Kind::Static, "View Control Behavior:", 7, 36, 72, 8, Group},
    Control{IDC_RESIZE_TO_FIT, Kind::CheckBox, "Resize Picture to fit View Area", 18, 46, 111, 10,
            TabStop},
    Control{1036, Kind::Static, "Deletion Behavior:", 7, 65, 59, 8, Group},
    Control{IDC_RECYCLE_BIN, Kind::CheckBox, "Send deleted items to Recycling Bin", 18, 75, 129, 10,
            TabStop},
    // Added below the original controls, which keep their places.
    Control{1037, Kind::Static, "Companion Files:", 7, 94, 59, 8, Group},
    Control{IDC_MOVE_COMPANIONS, Kind::CheckBox, "Move companion files with the picture", 18, 104,
            140, 10, TabStop},
};

constexpr Template kConfig{"136", "Program Configuration", 219, 122, kControls};

} // namespace

const Template& ConfigTemplate() {
    return kConfig;
}

} // namespace dlg

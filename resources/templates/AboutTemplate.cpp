#include "resources/templates/AboutTemplate.h"

#include <array>

namespace dlg {
namespace {

constexpr std::array kControls{
    Control{kStaticId, Kind::Icon, nullptr, 7, 14, 18, 20, None},
    Control{kStaticId, Kind::Static, QT_TRANSLATE_NOOP("DialogTemplate", "Vantrel Version 1.0"), 40,
            10, 119, 8, Group | NoPrefix},
    Control{kStaticId, Kind::Static,
            QT_TRANSLATE_NOOP("DialogTemplate", "Made for sorting pictures by hand."), 40, 19, 119,
            8, Group},
    Control{1, Kind::DefPushButton, QT_TRANSLATE_NOOP("DialogTemplate", "OK"), 178, 7, 32, 14,
            Group | TabStop},
    Control{kStaticId, Kind::Static, QT_TRANSLATE_NOOP("DialogTemplate", "System Memory: "), 40, 28,
            62, 8, Group},
    Control{IDC_SYSTEM_MEMORY, Kind::Static, QT_TRANSLATE_NOOP("DialogTemplate", "0 bytes"), 109,
            28, 101, 8, Group},
};

constexpr Template kAbout{"100", QT_TRANSLATE_NOOP("DialogTemplate", "About Vantrel"), 217, 47,
                          kControls};

} // namespace

const Template& AboutTemplate() {
    return kAbout;
}

} // namespace dlg

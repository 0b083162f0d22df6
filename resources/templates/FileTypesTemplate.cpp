#include "resources/templates/FileTypesTemplate.h"

#include <array>

namespace dlg {
namespace {

constexpr unsigned kBox = TabStop; // every check box is an auto check box with a tab stop

constexpr std::array kControls{
    Control{1, Kind::DefPushButton, QT_TRANSLATE_NOOP("DialogTemplate", "OK"), 149, 150, 50, 14,
            TabStop},
    Control{2, Kind::PushButton, QT_TRANSLATE_NOOP("DialogTemplate", "Cancel"), 203, 150, 50, 14,
            TabStop},
    Control{kStaticId, Kind::Static,
            QT_TRANSLATE_NOOP("DialogTemplate", "Image Formats Supported:"), 7, 7, 100, 8, Group},
    Control{1012, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "JPG"), 7, 18, 130, 10, kBox},
    Control{1013, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "BMP"), 7, 31, 130, 10, kBox},
    Control{1014, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "WPG"), 149, 18, 130, 10,
            kBox},
    Control{1015, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "TGA"), 7, 44, 130, 10, kBox},
    Control{1016, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "WMF"), 149, 31, 130, 10,
            kBox},
    Control{1017, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "TIF"), 7, 57, 130, 10, kBox},
    Control{1018, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "RAS"), 149, 44, 130, 10,
            kBox},
    Control{1019, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "PNG"), 7, 70, 130, 10, kBox},
    Control{1020, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "MAC"), 149, 57, 130, 10,
            kBox},
    Control{1021, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "PCX"), 7, 83, 130, 10, kBox},
    Control{1022, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "EPS"), 149, 70, 130, 10,
            kBox},
    Control{1023, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "MSP"), 7, 110, 130, 10,
            kBox},
    Control{1024, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "PSD"), 7, 96, 130, 10, kBox},
    Control{IDC_ALL_FILES, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "*.* (All Files)"),
            149, 88, 60, 10, kBox},
    Control{IDC_WEBP, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "WEBP"), 7, 123, 130, 10,
            kBox},
    Control{IDC_HEIC, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "HEIC"), 149, 123, 130,
            10, kBox},
    Control{IDC_AVIF, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "AVIF"), 7, 136, 130, 10,
            kBox},
    Control{IDC_RAW, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "DNG"), 149, 136, 130, 10,
            kBox},
};

constexpr Template kFileTypes{"138", QT_TRANSLATE_NOOP("DialogTemplate", "File Types Available"),
                              286, 171, kControls};

} // namespace

const Template& FileTypesTemplate() {
    return kFileTypes;
}

} // namespace dlg

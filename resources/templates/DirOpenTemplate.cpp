#include "resources/templates/DirOpenTemplate.h"

#include <array>

namespace dlg {
namespace {

constexpr std::array kControls{
    Control{IDC_FILE_NAME_LABEL, Kind::Static, QT_TRANSLATE_NOOP("DialogTemplate", "File &name:"),
            170, 6, 76, 9, Hidden},
    Control{IDC_FILE_NAME, Kind::Edit, "", 170, 16, 90, 12,
            Border | TabStop | AutoHScroll | Hidden},
    Control{IDC_FILE_LIST, Kind::ListBox, nullptr, 170, 32, 90, 68, Border | TabStop | Hidden},
    Control{kStaticId, Kind::Static, QT_TRANSLATE_NOOP("DialogTemplate", "&Folders:"), 6, 6, 96, 9,
            None},
    Control{IDC_CURRENT_DIR, Kind::Edit, "", 6, 16, 96, 12, Border | TabStop | AutoHScroll},
    Control{IDC_FOLDER_LIST, Kind::ListBox, nullptr, 6, 31, 96, 68, Border | TabStop},
    Control{IDC_FILE_TYPE_LABEL, Kind::Static,
            QT_TRANSLATE_NOOP("DialogTemplate", "List files of &type:"), 170, 104, 90, 9, Hidden},
    Control{IDC_FILE_TYPES, Kind::ComboBox, nullptr, 170, 114, 90, 96, TabStop | Hidden},
    Control{IDC_DRIVES_LABEL, Kind::Static, QT_TRANSLATE_NOOP("DialogTemplate", "Dri&ves:"), 6, 103,
            96, 9, None},
    Control{IDC_DRIVES, Kind::ComboBox, nullptr, 6, 113, 96, 68, TabStop},
    Control{1, Kind::DefPushButton, QT_TRANSLATE_NOOP("DialogTemplate", "OK"), 108, 6, 50, 14,
            Group | TabStop},
    Control{2, Kind::PushButton, QT_TRANSLATE_NOOP("DialogTemplate", "Cancel"), 108, 23, 50, 14,
            Group | TabStop},
    Control{IDC_HELP, Kind::PushButton, QT_TRANSLATE_NOOP("DialogTemplate", "&Help"), 108, 46, 50,
            14, Group | TabStop | Hidden},
    Control{IDC_READ_ONLY, Kind::CheckBox, QT_TRANSLATE_NOOP("DialogTemplate", "&Read only"), 108,
            68, 50, 12, Group | TabStop | Hidden},
    Control{IDC_NEW_FOLDER, Kind::PushButton, QT_TRANSLATE_NOOP("DialogTemplate", "&New Folder"),
            108, 85, 50, 14, Group | TabStop},
};

// No caption of its own: the picker names itself when it opens. Its position (36, 24)
// is never used, since the picker centres itself on its owner.
constexpr Template kDirOpen{"WIN95_DIROPEN", nullptr, 160, 131, kControls};

} // namespace

const Template& DirOpenTemplate() {
    return kDirOpen;
}

} // namespace dlg

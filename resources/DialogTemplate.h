#pragma once

#include <QtGlobal> // QT_TRANSLATE_NOOP marks the captions for translation

#include <span>
#include <string_view>

// Dialog templates as data: every control with its id, kind, caption, rectangle in
// dialog units and styles. platform/CDialogBuilder turns a template into widgets.
namespace dlg {

enum class Kind {
    PushButton,
    DefPushButton,
    RadioButton,
    CheckBox,
    Static, // a text label
    Icon,   // a label showing the application icon
    Edit,
    ListBox,
    ComboBox,
    TreeView,
    ListView,
    TabControl,
    Custom, // created by the dialog's own factory (the imaging control, for example)
};

// The window styles the builder understands.
enum Style : unsigned {
    None = 0,
    TabStop = 1u << 0,  // reached with the Tab key
    Group = 1u << 1,    // starts a new group (of radio buttons)
    Disabled = 1u << 2, // starts disabled
    Border = 1u << 3,   // framed edit, list or tree
    AutoHScroll = 1u << 4,
    NoPrefix = 1u << 5, // an ampersand is shown, not taken as a mnemonic
    Hidden = 1u << 6,   // created but not visible
};

inline constexpr int kStaticId = -1; // the id of labels nobody addresses

struct Control {
    int id;
    Kind kind;
    const char* text;
    int x, y, cx, cy;
    unsigned style;
};

struct Template {
    std::string_view name; // the template's number as text, or its own name
    const char* caption;   // null for a child form without caption
    int cx, cy;
    std::span<const Control> controls; // in template order, which is the tab order
};

} // namespace dlg

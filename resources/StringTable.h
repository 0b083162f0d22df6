#pragma once

#include <QString>

// The program's string table: every caption, prompt and message that has a number.
namespace strings {
inline constexpr int IDS_APP_TITLE = 57344;    // "Vantrel"
inline constexpr int IDS_IDLE_MESSAGE = 57345; // "Ready"
inline constexpr int IDP_OLE_INIT_FAILED = 100;
inline constexpr int IDP_FAILED_TO_CREATE = 102;
inline constexpr int IDS_MEMORY_FORMAT = 104; // "%lu KB"
inline constexpr int IDS_TARGET_UNSET = 106;  // a destination key pressed for an unset destination
inline constexpr int IDR_MAINFRAME = 128;     // the document string
inline constexpr int kFormatDescriptionBase = 2000;
inline constexpr int kFormatExtensionBase = 3000;

// The text of string `id`, or an empty string when the table has none.
QString Load(int id);
// True when the table holds string `id`.
bool Has(int id);
// The status-bar prompt of a command: the part of its string before the line feed.
QString Prompt(int id);
// The tooltip of a command: the part of its string after the line feed.
QString Tooltip(int id);
} // namespace strings

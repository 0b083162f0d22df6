#pragma once

// Command identifiers of the main window. The numbers are part of the program's
// vocabulary: the string table keys its prompts by them, and tests find actions by them.
namespace cmd {
inline constexpr int ID_PROGRAM_CONFIG = 32771;
inline constexpr int ID_TARGET_DIRECTORIES = 32772;
inline constexpr int ID_CLEAR_PICTURE = 32775;
inline constexpr int ID_DELETE_PICTURE = 32776;
inline constexpr int ID_TOGGLE_RESIZE = 32777;
inline constexpr int ID_FILE_TYPES = 32778;
inline constexpr int ID_GO_TO_HOME = 32779;
inline constexpr int ID_REFRESH_FILES = 32780;
inline constexpr int ID_BUTTON_GROUP1 = 32781;
inline constexpr int ID_BUTTON_GROUP2 = 32782;
inline constexpr int ID_BUTTON_GROUP3 = 32783;
inline constexpr int ID_BUTTON_GROUP4 = 32784;
inline constexpr int ID_HELP_KEYBOARD = 32790;
inline constexpr int ID_VIEW_FULL_SCREEN = 32791;
inline constexpr int ID_ZOOM_IN = 32792;
inline constexpr int ID_ZOOM_OUT = 32793;
inline constexpr int ID_ZOOM_ACTUAL = 32794;
inline constexpr int ID_VIEW_PICTURE_INFO = 32796;
// Sends the picture to destination i of the group shown: ID_SEND_TO_TARGET1 + i, i = 0 to 19.
inline constexpr int ID_SEND_TO_TARGET1 = 32800;
inline constexpr int kSendToTargetCount = 20;
inline constexpr int ID_EDIT_HISTORY = 32785;
inline constexpr int ID_VIEW_FILMSTRIP = 32840;
// View > Sort By: the orders of the file list, then the two directions.
inline constexpr int ID_SORT_BY_NAME = 32841;
inline constexpr int ID_SORT_BY_DATE_TAKEN = 32842;
inline constexpr int ID_SORT_BY_DATE_MODIFIED = 32843;
inline constexpr int ID_SORT_BY_SIZE = 32844;
inline constexpr int ID_SORT_BY_TYPE = 32845;
inline constexpr int ID_SORT_ASCENDING = 32846;
inline constexpr int ID_SORT_DESCENDING = 32847;

inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_PRINT_SETUP = 57606;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
} // namespace cmd

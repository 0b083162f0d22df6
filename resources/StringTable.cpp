#include "resources/StringTable.h"

#include <QCoreApplication>

#include <algorithm>
#include <array>

namespace strings {
namespace {

struct Entry {
    int id;
    const char* text;
};

// Sorted by id so that Load can search it.
constexpr std::array kStrings{
    Entry{100, QT_TRANSLATE_NOOP(
                   "StringTable",
                   "OLE initialization failed.  Make sure that the OLE libraries are the correct "
                   "version.")},
    Entry{102, QT_TRANSLATE_NOOP(
                   "StringTable",
                   "Failed to create object.  Make sure the object is entered in the system "
                   "registry.")},
    Entry{104, "%lu KB"},
    Entry{106,
          QT_TRANSLATE_NOOP("StringTable",
                            "Destination %1 has no folder yet: click its button to choose one")},
    Entry{128, "Vantrel\n\nVantre\n\n\nVantrel.Document\nVantre Document"},
    // Picture type descriptions, 2000 + format code.
    Entry{2001, QT_TRANSLATE_NOOP("StringTable", "Paintbrush")},
    Entry{2003, QT_TRANSLATE_NOOP("StringTable", "Tagged Image File Format")},
    Entry{2004, QT_TRANSLATE_NOOP("StringTable", "Truevision Targa")},
    Entry{2006, QT_TRANSLATE_NOOP("StringTable", "Bitmap")},
    Entry{2010, QT_TRANSLATE_NOOP("StringTable", "JFIF Compliant")},
    Entry{2015, QT_TRANSLATE_NOOP("StringTable", "Extended Windows Metafile")},
    Entry{2016, QT_TRANSLATE_NOOP("StringTable", "Encapsulated Postscript")},
    Entry{2051, QT_TRANSLATE_NOOP("StringTable", "MacPaint")},
    Entry{2053, QT_TRANSLATE_NOOP("StringTable", "Microsoft Paint")},
    Entry{2054, QT_TRANSLATE_NOOP("StringTable", "WordPerfect Bitmap")},
    Entry{2055, QT_TRANSLATE_NOOP("StringTable", "Sun Raster Images")},
    Entry{2075, QT_TRANSLATE_NOOP("StringTable", "Portable Network Graphics")},
    Entry{2076, QT_TRANSLATE_NOOP("StringTable", "Photoshop")},
    Entry{2080, QT_TRANSLATE_NOOP("StringTable", "WebP Image")},
    Entry{2081, QT_TRANSLATE_NOOP("StringTable", "High Efficiency Image")},
    Entry{2082, QT_TRANSLATE_NOOP("StringTable", "AV1 Image")},
    Entry{2083, QT_TRANSLATE_NOOP("StringTable", "Camera RAW")},
    // Picture type short names, 3000 + format code.
    Entry{3001, "PCX"},
    Entry{3003, "TIF"},
    Entry{3004, "TGA"},
    Entry{3006, "BMP"},
    Entry{3010, "JPG"},
    Entry{3015, "WMF"},
    Entry{3016, "EPS"},
    Entry{3051, "MAC"},
    Entry{3053, "MSP"},
    Entry{3054, "WPG"},
    Entry{3055, "RAS"},
    Entry{3075, "PNG"},
    Entry{3076, "PSD"},
    Entry{3080, "WEBP"},
    Entry{3081, "HEIC"},
    Entry{3082, "AVIF"},
    Entry{3083, "RAW"},
    // Command prompts: status-bar text, then after the line feed the tooltip.
    Entry{32771, QT_TRANSLATE_NOOP("StringTable",
                                   "Edit the main program configuration\nEdit Program Config")},
    Entry{32772, QT_TRANSLATE_NOOP("StringTable",
                                   "Change the target Destination Directories\nEdit Destinations")},
    Entry{32775, QT_TRANSLATE_NOOP("StringTable",
                                   "Clear the current picture on screen\nClear the Current Pic")},
    Entry{32776, QT_TRANSLATE_NOOP("StringTable",
                                   "Delete the current picture onscreen\nDelete the Current Pic")},
    Entry{32777,
          QT_TRANSLATE_NOOP("StringTable", "Toggle automatic picture resizing\nToggle Resize")},
    Entry{32778,
          QT_TRANSLATE_NOOP("StringTable",
                            "Edit the image types available in the file list\nEdit File Types")},
    Entry{32779, QT_TRANSLATE_NOOP("StringTable", "Return to the Home Directory\nGo To Home")},
    Entry{32780, QT_TRANSLATE_NOOP("StringTable", "Refresh the file list\nRefresh Files")},
    Entry{32781, QT_TRANSLATE_NOOP("StringTable", "Show button group 1\nButton Group 1")},
    Entry{32782, QT_TRANSLATE_NOOP("StringTable", "Show button group 2\nButton Group 2")},
    Entry{32783, QT_TRANSLATE_NOOP("StringTable", "Show button group 3\nButton Group 3")},
    Entry{32784, QT_TRANSLATE_NOOP("StringTable", "Show button group 4\nButton Group 4")},
    Entry{32785, QT_TRANSLATE_NOOP(
                     "StringTable",
                     "List the recorded sort actions and undo back to one of them\nHistory")},
    Entry{32790,
          QT_TRANSLATE_NOOP("StringTable", "List every key of the program\nKeyboard Shortcuts")},
    Entry{32791, QT_TRANSLATE_NOOP("StringTable",
                                   "Show the picture alone on the whole screen\nFull Screen")},
    Entry{32792, QT_TRANSLATE_NOOP("StringTable", "Show the picture larger\nZoom In")},
    Entry{32793, QT_TRANSLATE_NOOP("StringTable", "Show the picture smaller\nZoom Out")},
    Entry{32794,
          QT_TRANSLATE_NOOP("StringTable",
                            "Show the picture at its own size, at the pointer\nActual Size")},
    Entry{32796, QT_TRANSLATE_NOOP("StringTable",
                                   "Show or hide what the file says about the picture\nPicture "
                                   "Information")},
    Entry{32800,
          QT_TRANSLATE_NOOP("StringTable",
                            "Send the picture to destination 1 of the group shown\nDestination 1")},
    Entry{32801,
          QT_TRANSLATE_NOOP("StringTable",
                            "Send the picture to destination 2 of the group shown\nDestination 2")},
    Entry{32802,
          QT_TRANSLATE_NOOP("StringTable",
                            "Send the picture to destination 3 of the group shown\nDestination 3")},
    Entry{32803,
          QT_TRANSLATE_NOOP("StringTable",
                            "Send the picture to destination 4 of the group shown\nDestination 4")},
    Entry{32804,
          QT_TRANSLATE_NOOP("StringTable",
                            "Send the picture to destination 5 of the group shown\nDestination 5")},
    Entry{32805,
          QT_TRANSLATE_NOOP("StringTable",
                            "Send the picture to destination 6 of the group shown\nDestination 6")},
    Entry{32806,
          QT_TRANSLATE_NOOP("StringTable",
                            "Send the picture to destination 7 of the group shown\nDestination 7")},
    Entry{32807,
          QT_TRANSLATE_NOOP("StringTable",
                            "Send the picture to destination 8 of the group shown\nDestination 8")},
    Entry{32808,
          QT_TRANSLATE_NOOP("StringTable",
                            "Send the picture to destination 9 of the group shown\nDestination 9")},
    Entry{32809, QT_TRANSLATE_NOOP(
                     "StringTable",
                     "Send the picture to destination 10 of the group shown\nDestination 10")},
    Entry{32810, QT_TRANSLATE_NOOP(
                     "StringTable",
                     "Send the picture to destination 11 of the group shown\nDestination 11")},
    Entry{32811, QT_TRANSLATE_NOOP(
                     "StringTable",
                     "Send the picture to destination 12 of the group shown\nDestination 12")},
    Entry{32812, QT_TRANSLATE_NOOP(
                     "StringTable",
                     "Send the picture to destination 13 of the group shown\nDestination 13")},
    Entry{32813, QT_TRANSLATE_NOOP(
                     "StringTable",
                     "Send the picture to destination 14 of the group shown\nDestination 14")},
    Entry{32814, QT_TRANSLATE_NOOP(
                     "StringTable",
                     "Send the picture to destination 15 of the group shown\nDestination 15")},
    Entry{32815, QT_TRANSLATE_NOOP(
                     "StringTable",
                     "Send the picture to destination 16 of the group shown\nDestination 16")},
    Entry{32816, QT_TRANSLATE_NOOP(
                     "StringTable",
                     "Send the picture to destination 17 of the group shown\nDestination 17")},
    Entry{32817, QT_TRANSLATE_NOOP(
                     "StringTable",
                     "Send the picture to destination 18 of the group shown\nDestination 18")},
    Entry{32818, QT_TRANSLATE_NOOP(
                     "StringTable",
                     "Send the picture to destination 19 of the group shown\nDestination 19")},
    Entry{32819, QT_TRANSLATE_NOOP(
                     "StringTable",
                     "Send the picture to destination 20 of the group shown\nDestination 20")},
    Entry{32840, QT_TRANSLATE_NOOP("StringTable",
                                   "Show or hide the thumbnails below the picture\nFilmstrip")},
    Entry{32841, QT_TRANSLATE_NOOP("StringTable",
                                   "Show the pictures in the order of their names\nSort by Name")},
    Entry{32842,
          QT_TRANSLATE_NOOP("StringTable", "Show the pictures in the order they were "
                                           "taken, as the camera recorded it\nSort by Date Taken")},
    Entry{32843, QT_TRANSLATE_NOOP("StringTable", "Show the pictures in the order their files "
                                                  "were last changed\nSort by Date Modified")},
    Entry{32844,
          QT_TRANSLATE_NOOP("StringTable",
                            "Show the pictures in the order of their file sizes\nSort by Size")},
    Entry{32845, QT_TRANSLATE_NOOP("StringTable",
                                   "Show the pictures grouped by their file types\nSort by Type")},
    Entry{32846, QT_TRANSLATE_NOOP("StringTable", "Show the first of the order first\nAscending")},
    Entry{32847, QT_TRANSLATE_NOOP("StringTable", "Show the last of the order first\nDescending")},
    Entry{57344, "Vantrel"},
    Entry{57345, QT_TRANSLATE_NOOP("StringTable", "Ready")},
    Entry{57606,
          QT_TRANSLATE_NOOP("StringTable", "Change the printer and printing options\nPrint Setup")},
    Entry{57607, QT_TRANSLATE_NOOP("StringTable", "Print the active picture\nPrint")},
    Entry{57643, QT_TRANSLATE_NOOP("StringTable", "Undo the last sort action\nUndo")},
    Entry{57644, QT_TRANSLATE_NOOP("StringTable", "Do the undone sort action again\nRedo")},
    Entry{57664,
          QT_TRANSLATE_NOOP("StringTable",
                            "Display program information, version number and copyright\nAbout")},
    Entry{57665, QT_TRANSLATE_NOOP("StringTable",
                                   "Quit the application; prompts to save documents\nExit")},
    Entry{57680, QT_TRANSLATE_NOOP("StringTable", "Switch to the next window pane\nNext Pane")},
    Entry{57681, QT_TRANSLATE_NOOP("StringTable",
                                   "Switch back to the previous window pane\nPrevious Pane")},
    Entry{59392, QT_TRANSLATE_NOOP("StringTable", "Show or hide the toolbar\nToggle ToolBar")},
    Entry{59393, QT_TRANSLATE_NOOP("StringTable", "Show or hide the status bar\nToggle StatusBar")},
};

static_assert(std::is_sorted(kStrings.begin(), kStrings.end(),
                             [](const Entry& a, const Entry& b) { return a.id < b.id; }));

const Entry* Find(int id) {
    auto it = std::lower_bound(kStrings.begin(), kStrings.end(), id,
                               [](const Entry& e, int key) { return e.id < key; });
    return (it != kStrings.end() && it->id == id) ? &*it : nullptr;
}

} // namespace

QString Load(int id) {
    const Entry* e = Find(id);
    return e ? QCoreApplication::translate("StringTable", e->text) : QString();
}

bool Has(int id) {
    return Find(id) != nullptr;
}

QString Prompt(int id) {
    return Load(id).section(QLatin1Char('\n'), 0, 0);
}

QString Tooltip(int id) {
    const QString s = Load(id);
    return s.contains(QLatin1Char('\n')) ? s.section(QLatin1Char('\n'), 1) : QString();
}

} // namespace strings

#pragma once

#include <QString>
#include <QStringList>
#include <span>

// The picture file types the file list can show: each has one bit of the FilterFlags
// setting, one extension and the imaging control's format code, which selects the type's
// description (string 2000 + code) and short name (string 3000 + code).
namespace filetypes {

inline constexpr int kNoFormat = 0;         // rows without a format code
inline constexpr int kAviBit = 0x2000;      // kept when stored, never offered in the dialog
inline constexpr int kAllFilesBit = 0x4000; // every file, whatever the other bits say
// Types added later take the bits above the all-files bit, so older stored values keep
// their meaning.
inline constexpr int kWebpBit = 0x8000;
inline constexpr int kHeicBit = 0x10000;
inline constexpr int kAvifBit = 0x20000;
inline constexpr int kRawBit = 0x40000; // camera RAW, one box for every maker's kind

struct PictureFileType {
    int bit;
    const char* extension;    // upper-case letters, no dot; empty for every file
    int formatCode;           // kNoFormat when the type has none
    const char* aliases = ""; // further extensions of the type, separated by spaces
};

// Every row in bit order, 0x0001 to 0x4000, then the later types.
std::span<const PictureFileType> Table();
// The row of one bit, or null when no row has it.
const PictureFileType* FindByBit(int bit);
// The row of a format code, or null when no row has it (or for kNoFormat).
const PictureFileType* FindByFormat(int formatCode);

// The description ("JFIF Compliant") and short name ("JPG") of a format code; empty for a
// code the string table does not know.
QString Description(int formatCode);
QString ShortName(int formatCode);

// The extension of a row followed by its aliases ("JPG", "JPEG", "JPE", "JFIF").
QStringList Extensions(const PictureFileType& type);

// The extensions the file list admits for a FilterFlags value: the set bits' extensions
// (each followed by its aliases) with JPG after EPS and BMP, and none at all when the
// all-files bit is set. An empty list lets every file through.
QStringList ExtensionList(int filterFlags);

// Every extension of every picture type (not the AVI row), with a leading dot: the files
// worth telling about when the filter hides them.
QStringList PictureEndings();

// "6 pictures of other types are hidden — Edit > File Types"; empty for none.
QString HiddenPicturesText(int count);

} // namespace filetypes

#include "resources/FileTypes.h"

#include <QCoreApplication>

#include "resources/StringTable.h"

#include <algorithm>
#include <array>

namespace filetypes {
namespace {

constexpr std::array kTable{
    PictureFileType{0x0001, "PNG", 75},
    PictureFileType{0x0002, "WPG", 54},
    PictureFileType{0x0004, "WMF", 15},
    PictureFileType{0x0008, "TIF", 3, "TIFF"},
    PictureFileType{0x0010, "TGA", 4},
    PictureFileType{0x0020, "RAS", 55},
    PictureFileType{0x0040, "PSD", 76},
    PictureFileType{0x0080, "PCX", 1},
    PictureFileType{0x0100, "MSP", 53},
    PictureFileType{0x0200, "MAC", 51},
    PictureFileType{0x0400, "JPG", 10, "JPEG JPE JFIF"},
    PictureFileType{0x0800, "EPS", 16},
    PictureFileType{0x1000, "BMP", 6},
    PictureFileType{kAviBit, "AVI", kNoFormat},
    PictureFileType{kAllFilesBit, "", kNoFormat},
    PictureFileType{kWebpBit, "WEBP", 80},
    PictureFileType{kHeicBit, "HEIC", 81, "HEIF HIF"},
    PictureFileType{kAvifBit, "AVIF", 82},
    PictureFileType{kRawBit, "DNG", 83, "CR2 CR3 NEF ARW ORF RW2 RAF PEF"},
};

// The order in which the extension list is built; JPG follows EPS and BMP.
constexpr std::array kListOrder{0x0001, 0x0002,  0x0004,   0x0008,   0x0010,   0x0020,
                                0x0040, 0x0080,  0x0100,   0x0200,   0x0800,   0x1000,
                                0x0400, kAviBit, kWebpBit, kHeicBit, kAvifBit, kRawBit};

} // namespace

std::span<const PictureFileType> Table() {
    return kTable;
}

const PictureFileType* FindByBit(int bit) {
    const auto* it = std::find_if(kTable.begin(), kTable.end(),
                                  [bit](const PictureFileType& t) { return t.bit == bit; });
    return it == kTable.end() ? nullptr : &*it;
}

const PictureFileType* FindByFormat(int formatCode) {
    if (formatCode == kNoFormat)
        return nullptr;
    const auto* it =
        std::find_if(kTable.begin(), kTable.end(),
                     [formatCode](const PictureFileType& t) { return t.formatCode == formatCode; });
    return it == kTable.end() ? nullptr : &*it;
}

QString Description(int formatCode) {
    return formatCode == kNoFormat ? QString()
                                   : strings::Load(strings::kFormatDescriptionBase + formatCode);
}

QString ShortName(int formatCode) {
    return formatCode == kNoFormat ? QString()
                                   : strings::Load(strings::kFormatExtensionBase + formatCode);
}

QStringList Extensions(const PictureFileType& type) {
    QStringList list{QString::fromLatin1(type.extension)};
    list += QString::fromLatin1(type.aliases).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return list;
}

QStringList ExtensionList(int filterFlags) {
    QStringList list;
    if (filterFlags & kAllFilesBit)
        return list;
    for (int bit : kListOrder)
        if (filterFlags & bit)
            list += Extensions(*FindByBit(bit));
    return list;
}

QStringList PictureEndings() {
    QStringList list;
    for (const PictureFileType& type : kTable)
        if (type.formatCode != kNoFormat)
            for (const QString& extension : Extensions(type))
                list.append(QLatin1Char('.') + extension);
    return list;
}

QString HiddenPicturesText(int count) {
    if (count <= 0)
        return {};
    const QString tail = QCoreApplication::translate("FileTypes", " \u2014 Edit > File Types");
    return count == 1
               ? QCoreApplication::translate("FileTypes", "1 picture of another type is hidden") +
                     tail
               : QCoreApplication::translate("FileTypes", "%1 pictures of other types are hidden")
                         .arg(count) +
                     tail;
}

} // namespace filetypes

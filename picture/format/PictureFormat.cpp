#include "picture/format/PictureFormat.h"

#include "picture/format/ByteReader.h"

#include <QList>
#include <QString>
#include <algorithm>
#include <initializer_list>

namespace picfmt {
namespace {

bool StartsWith(QByteArrayView data, QByteArrayView magic) {
    return data.startsWith(magic);
}

// An ISO media file ("ftyp" box) of the HEIF family: AVIF when its major or one of its
// compatible brands says so, else HEIC for the brands of still pictures.
int HeifFamily(QByteArrayView head) {
    if (head.size() < 16 || head.sliced(4, 4) != "ftyp")
        return kUnknown;
    const qsizetype boxSize = std::min<qsizetype>(ReadBE32(head, 0), head.size());
    if (boxSize < 16)
        return kUnknown;
    QList<QByteArrayView> brands{head.sliced(8, 4)};
    for (qsizetype at = 16; at + 4 <= boxSize; at += 4)
        brands.append(head.sliced(at, 4));
    bool heif = false;
    for (QByteArrayView brand : brands) {
        if (brand == "avif" || brand == "avis")
            return kAvif;
        heif = heif || brand == "heic" || brand == "heix" || brand == "heim" || brand == "heis" ||
               brand == "hevc" || brand == "hevx" || brand == "mif1" || brand == "msf1";
    }
    return heif ? kHeic : kUnknown;
}

bool NamedOneOf(QStringView suffix, std::initializer_list<const char16_t*> names) {
    return std::any_of(names.begin(), names.end(), [suffix](const char16_t* name) {
        return suffix.compare(QStringView(name), Qt::CaseInsensitive) == 0;
    });
}

// Camera RAW files. Most are TIFF files underneath and only their name tells them apart (a
// ".tif" stays a TIFF); the others have signatures of their own.
int CameraRaw(QByteArrayView head, QStringView suffix) {
    const bool tiff = StartsWith(head, QByteArrayView("II*\0", 4)) ||
                      StartsWith(head, QByteArrayView("MM\0*", 4));
    if (tiff && NamedOneOf(suffix, {u"cr2", u"nef", u"arw", u"dng", u"pef", u"orf"}))
        return kRaw;
    if (StartsWith(head, "IIRO") || StartsWith(head, "IIRS") || StartsWith(head, "MMOR"))
        return kRaw; // Olympus
    if (StartsWith(head, QByteArrayView("IIU\0", 4)))
        return kRaw; // Panasonic
    if (StartsWith(head, "FUJIFILMCCD-RAW"))
        return kRaw;
    if (head.size() >= 12 && head.sliced(4, 8) == "ftypcrx ")
        return kRaw; // Canon's ISO media files
    return kUnknown;
}

bool IsBmp(QByteArrayView head) {
    if (!StartsWith(head, "BM") || head.size() < 18)
        return false;
    const quint32 dib = ReadLE32(head, 14);
    return dib == 12 || dib == 40 || dib == 52 || dib == 56 || dib == 64 || dib == 108 ||
           dib == 124;
}

bool IsPcx(QByteArrayView head) {
    if (head.size() < 66 || static_cast<uchar>(head[0]) != 0x0A)
        return false;
    const int version = static_cast<uchar>(head[1]);
    const int encoding = static_cast<uchar>(head[2]);
    const int bits = static_cast<uchar>(head[3]);
    return (version <= 5 && version != 1) && encoding <= 1 &&
           (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

bool IsWmf(QByteArrayView head) {
    if (StartsWith(head, "\xD7\xCD\xC6\x9A"))
        return true; // placeable metafile
    if (head.size() >= 44 && ReadLE32(head, 0) == 1 && head.sliced(40, 4) == " EMF")
        return true; // enhanced metafile
    if (head.size() < 6)
        return false;
    const quint16 type = ReadLE16(head, 0);
    return (type == 1 || type == 2) && ReadLE16(head, 2) == 9 &&
           (ReadLE16(head, 4) == 0x0100 || ReadLE16(head, 4) == 0x0300);
}

bool IsMacBinaryPaint(QByteArrayView head) {
    const int nameLength = head.size() > 1 ? static_cast<uchar>(head[1]) : 0;
    return head.size() >= 69 && head[0] == 0 && nameLength >= 1 && nameLength <= 63 &&
           head.sliced(65, 4) == "PNTG";
}

// A bare MacPaint file starts with a version number of 0, 2 or 3; too weak on its own.
bool LooksLikeBareMacPaint(QByteArrayView head, QStringView suffix) {
    const bool named = suffix.compare(u"mac", Qt::CaseInsensitive) == 0 ||
                       suffix.compare(u"pnt", Qt::CaseInsensitive) == 0 ||
                       suffix.compare(u"pntg", Qt::CaseInsensitive) == 0;
    return named && head.size() >= 4 && ReadBE32(head, 0) <= 3;
}

// Targa has no signature: a version 2 footer, or a plausible header on a file named so.
bool LooksLikeTarga(QByteArrayView head, QByteArrayView tail, QStringView suffix) {
    if (tail.size() >= 18 && tail.sliced(tail.size() - 18, 17) == "TRUEVISION-XFILE.")
        return true;
    const bool named = suffix.compare(u"tga", Qt::CaseInsensitive) == 0 ||
                       suffix.compare(u"vda", Qt::CaseInsensitive) == 0 ||
                       suffix.compare(u"icb", Qt::CaseInsensitive) == 0 ||
                       suffix.compare(u"vst", Qt::CaseInsensitive) == 0;
    if (!named || head.size() < 18)
        return false;
    const int mapType = static_cast<uchar>(head[1]);
    const int type = static_cast<uchar>(head[2]);
    const int depth = static_cast<uchar>(head[16]);
    const bool typeOk =
        type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
    const bool depthOk = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    return mapType <= 1 && typeOk && depthOk && ReadLE16(head, 12) > 0 && ReadLE16(head, 14) > 0;
}

} // namespace

int DetectFormat(QByteArrayView head, QByteArrayView tail, QStringView suffix) {
    if (StartsWith(head, "\x89PNG\r\n\x1A\n"))
        return kPng;
    if (StartsWith(head, "\xFF\xD8\xFF"))
        return kJpg;
    if (const int raw = CameraRaw(head, suffix); raw != kUnknown)
        return raw;
    if (StartsWith(head, QByteArrayView("II*\0", 4)) ||
        StartsWith(head, QByteArrayView("MM\0*", 4)))
        return kTif;
    if (IsBmp(head))
        return kBmp;
    if (head.size() >= 16 && StartsWith(head, "RIFF") && head.sliced(8, 4) == "WEBP")
        return kWebp;
    if (const int heif = HeifFamily(head); heif != kUnknown)
        return heif;
    if (StartsWith(head, "8BPS"))
        return kPsd;
    if (StartsWith(head, "\x59\xA6\x6A\x95"))
        return kRas;
    if (StartsWith(head, "\xFFWPC"))
        return kWpg;
    if (StartsWith(head, "DanM") || StartsWith(head, "LinS"))
        return kMsp;
    if (StartsWith(head, "%!") || StartsWith(head, "\xC5\xD0\xD3\xC6"))
        return kEps;
    if (IsWmf(head))
        return kWmf;
    if (IsPcx(head))
        return kPcx;
    if (IsMacBinaryPaint(head) || LooksLikeBareMacPaint(head, suffix))
        return kMac;
    if (LooksLikeTarga(head, tail, suffix))
        return kTga;
    return kUnknown;
}

} // namespace picfmt

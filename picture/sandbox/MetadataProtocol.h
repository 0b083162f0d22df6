#pragma once

#include "picture/format/PictureMetadata.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>

// What the decoder helper answers when it is asked for a picture's metadata:
//   "META\n", then one "<key> <value>\n" line per fact it found, then "END\n"
// (or "ERR <reason>\n"). Text values are UTF-8 without control characters, at most
// kMaxText characters; numbers are in the C locale. The reading side takes the answer as
// hostile: any line it does not understand, a repeated key, a value out of range or text
// too long makes the whole answer unusable.
namespace metadata_protocol {

inline constexpr int kMaxText = 96;
inline constexpr int kMaxAnswerBytes = 4096;

// A moment as it goes into an answer: "yyyy-MM-ddTHH:mm:ss", followed by "+HH:MM" or
// "-HH:MM" when it has an offset from UTC.
QByteArray TakenText(const QDateTime& taken);
// The moment in such a text; false when it is none, or outside the years 1800 to 9999.
bool ReadTaken(QByteArrayView text, QDateTime& taken);
// The answer for `facts` (its camera record only); texts are cut and cleaned to fit.
QByteArray Format(const PictureMetadata& facts);
// A text as it may go into an answer: control characters dropped, at most kMaxText long.
QString CleanText(const QString& text);
// False when `answer` is no well-formed answer; an "ERR" answer gives true with `error`
// set and `facts` empty.
bool Parse(QByteArrayView answer, PictureMetadata& facts, QString& error);

} // namespace metadata_protocol

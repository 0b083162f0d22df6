#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>

// What the decoder helper answers when it is asked for the dates taken of several files:
//   "DATES <n>\n", then one line per file in the order they were handed, then "END\n"
// where a line is "-" when the file records no date (or cannot be read), else the moment as
// the metadata answer writes it (metadata_protocol::TakenText). The reading side takes the
// answer as hostile: a wrong count, a line it does not understand or a date out of range
// makes the whole answer unusable.
namespace dates_protocol {

// The answer for `dates`, one a file.
QByteArray Format(const QList<QDateTime>& dates);
// The dates of `count` files from `answer`; false (and `dates` empty) when it is no
// well-formed answer for that many.
bool Parse(QByteArrayView answer, qsizetype count, QList<QDateTime>& dates);

} // namespace dates_protocol

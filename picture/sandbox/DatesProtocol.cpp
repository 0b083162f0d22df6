#include "picture/sandbox/DatesProtocol.h"

#include "picture/sandbox/DecoderProtocol.h"
#include "picture/sandbox/MetadataProtocol.h"

namespace dates_protocol {

QByteArray Format(const QList<QDateTime>& dates) {
    QByteArray out = "DATES " + QByteArray::number(dates.size()) + '\n';
    for (const QDateTime& taken : dates) {
        QDateTime checked;
        const QByteArray text = taken.isValid() ? metadata_protocol::TakenText(taken) : "-";
        out += metadata_protocol::ReadTaken(text, checked) ? text : QByteArray("-");
        out += '\n';
    }
    return out + "END\n";
}

bool Parse(QByteArrayView answer, qsizetype count, QList<QDateTime>& dates) {
    dates.clear();
    if (count < 0 || count > decoder_protocol::kMaxFiles ||
        answer.size() > decoder_protocol::kMaxAnswer || !answer.endsWith('\n'))
        return false;
    const QList<QByteArray> lines = answer.chopped(1).toByteArray().split('\n');
    if (lines.size() != count + 2 || lines.front() != "DATES " + QByteArray::number(count) ||
        lines.back() != "END")
        return false;
    QList<QDateTime> read;
    read.reserve(count);
    for (qsizetype i = 1; i <= count; ++i) {
        QDateTime taken;
        if (lines[i] != "-" && !metadata_protocol::ReadTaken(lines[i], taken))
            return false;
        read.append(taken);
    }
    dates = read;
    return true;
}

} // namespace dates_protocol

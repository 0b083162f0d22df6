#include "picture/DecoderProtocol.h"

#include "picture/DecodeLimits.h"

#include <QList>

namespace decoder_protocol {

QByteArray FormatAnswer(const SAnswer& answer) {
    if (!answer.bOk) {
        // One line: the reason may come from a library quoting the hostile file.
        QByteArray text = answer.strError.toUtf8().left(kMaxAnswer - 8);
        text.replace('\n', ' ').replace('\r', ' ');
        return "ERR " + text + '\n';
    }
    return QByteArray("OK ") + QByteArray::number(answer.nWidth) + ' ' +
           QByteArray::number(answer.nHeight) + ' ' + QByteArray::number(answer.nBits) + ' ' +
           (answer.bAlpha ? '1' : '0') + '\n';
}

bool ParseAnswer(QByteArrayView line, SAnswer& answer) {
    answer = SAnswer();
    if (line.size() > kMaxAnswer || !line.endsWith('\n'))
        return false;
    line.chop(1);
    if (line.startsWith("ERR ")) {
        answer.strError = QString::fromUtf8(line.sliced(4)).trimmed();
        return !answer.strError.isEmpty();
    }
    if (!line.startsWith("OK "))
        return false;
    const QList<QByteArray> fields = line.sliced(3).toByteArray().split(' ');
    if (fields.size() != 4)
        return false;
    bool okW = false, okH = false, okB = false;
    answer.nWidth = fields[0].toInt(&okW);
    answer.nHeight = fields[1].toInt(&okH);
    answer.nBits = fields[2].toInt(&okB);
    const bool bitsValid = okB && (answer.nBits == 1 || answer.nBits == 4 || answer.nBits == 8 ||
                                   answer.nBits == 24 || answer.nBits == 32);
    if (!okW || !okH || !bitsValid || (fields[3] != "0" && fields[3] != "1") ||
        !limits::WithinLimits(answer.nWidth, answer.nHeight))
        return false;
    answer.bAlpha = fields[3] == "1";
    answer.bOk = true;
    return true;
}

} // namespace decoder_protocol

#include "picture/sandbox/DecoderProtocol.h"

#include "picture/sandbox/DecodeLimits.h"

#include <QList>

namespace decoder_protocol {

QByteArray FormatAnswer(const SAnswer& answer) {
    if (!answer.bOk) {
        // One line: the reason may come from a library quoting the hostile file.
        QByteArray text = answer.strError.toUtf8().left(kMaxAnswer - 8);
        text.replace('\n', ' ').replace('\r', ' ');
        return "ERR " + text + '\n';
    }
    QByteArray line = QByteArray("OK ") + QByteArray::number(answer.nWidth) + ' ' +
                      QByteArray::number(answer.nHeight) + ' ' + QByteArray::number(answer.nBits) +
                      ' ' + (answer.bAlpha ? '1' : '0');
    if (answer.nOwnWidth > 0 && answer.nOwnHeight > 0)
        line += ' ' + QByteArray::number(answer.nOwnWidth) + ' ' +
                QByteArray::number(answer.nOwnHeight);
    return line + '\n';
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
    if (fields.size() != 4 && fields.size() != 6)
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
    if (fields.size() == 6) {
        // The whole picture may pass the pixel limit (only its stand-in is decoded), not the
        // largest side.
        bool okOW = false, okOH = false;
        answer.nOwnWidth = fields[4].toInt(&okOW);
        answer.nOwnHeight = fields[5].toInt(&okOH);
        if (!okOW || !okOH || answer.nOwnWidth <= 0 || answer.nOwnHeight <= 0 ||
            answer.nOwnWidth > limits::kMaxSide || answer.nOwnHeight > limits::kMaxSide)
            return false;
    }
    answer.bOk = true;
    return true;
}

} // namespace decoder_protocol

#include "platform/CPlainText.h"

#include <QGlyphRun>
#include <QPainter>
#include <QVarLengthArray>
#include <algorithm>

CPlainText::CPlainText(const QFont& font) : m_font(QRawFont::fromFont(Unkerned(font))) {
}

QFont CPlainText::Unkerned(QFont font) {
    font.setKerning(false);
    return font;
}

const CPlainText::Letter& CPlainText::Learn(char16_t code) const {
    Letter& letter = m_letters[code];
    const QChar ch(code);
    const QList<quint32> glyphs = m_font.glyphIndexesForString(QString(ch));
    // A control character or a letter the font lacks has no glyph here.
    letter.glyph = ch.isPrint() && glyphs.size() == 1 ? glyphs[0] : 0;
    if (letter.glyph)
        letter.advance = m_font.advancesForGlyphIndexes(glyphs).value(0).x();
    letter.bKnown = true;
    return letter;
}

bool CPlainText::Handles(QStringView text) const {
    if (!m_font.isValid())
        return false;
    return std::all_of(text.begin(), text.end(), [this](QChar ch) {
        const char16_t code = ch.unicode();
        return code < kLetters && LetterFor(code).glyph != 0;
    });
}

qreal CPlainText::LetterWidth(QChar letter) const {
    return letter.unicode() < kLetters ? LetterFor(letter.unicode()).advance : 0;
}

qreal CPlainText::Width(QStringView text) const {
    qreal width = 0;
    for (const QChar ch : text)
        width += LetterWidth(ch);
    return width;
}

void CPlainText::Draw(QPainter& painter, const QPointF& baseline, QStringView text) const {
    QVarLengthArray<quint32, 64> glyphs;
    QVarLengthArray<QPointF, 64> positions;
    qreal x = 0;
    for (const QChar ch : text) {
        const Letter& letter = LetterFor(ch.unicode() < kLetters ? ch.unicode() : u'?');
        glyphs.append(letter.glyph);
        positions.append(QPointF(x, 0));
        x += letter.advance;
    }
    QGlyphRun run;
    run.setRawFont(m_font);
    run.setRawData(glyphs.constData(), positions.constData(), int(glyphs.size()));
    painter.drawGlyphRun(baseline, run);
}

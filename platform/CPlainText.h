#pragma once

#include <QFont>
#include <QRawFont>
#include <QStringView>
#include <array>

class QPainter;
class QPointF;

// One line of text that needs no shaping (Latin, Greek and Cyrillic letters, digits and
// punctuation, without combining marks), set as a plain run of glyphs side by side. Each
// letter's glyph and width are looked up once per font, so drawing a file name or a status
// line lays nothing out. Kerning is left out, as it is when such text is set without
// shaping; widths therefore add up letter by letter.
class CPlainText {
public:
    explicit CPlainText(const QFont& font);

    // Whether every letter of `text` can be set this way in this font (no control
    // characters, nothing shaped, nothing the font lacks).
    bool Handles(QStringView text) const;
    qreal Width(QStringView text) const;
    qreal LetterWidth(QChar letter) const;
    // Draws `text` with its first letter's origin on `baseline`, in the painter's pen.
    void Draw(QPainter& painter, const QPointF& baseline, QStringView text) const;

    // The font to draw with for positions to add up: the same, without kerning.
    static QFont Unkerned(QFont font);

private:
    static constexpr char16_t kLetters = 0x0300; // up to the combining marks
    struct Letter {
        quint32 glyph = 0;
        qreal advance = 0;
        bool bKnown = false;
    };
    const Letter& LetterFor(char16_t code) const {
        const Letter& letter = m_letters[code];
        return letter.bKnown ? letter : Learn(code);
    }
    const Letter& Learn(char16_t code) const;

    QRawFont m_font;
    mutable std::array<Letter, kLetters> m_letters{};
};

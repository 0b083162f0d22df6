#include "platform/system/CNaturalCompare.h"

#include <QString>
#include <QVarLengthArray>
#include <cstring>

namespace {
template <class T> bool IsDigit(T c) {
    return c >= T('0') && c <= T('9');
}

template <class T> bool IsZero(T c) {
    return c == T('0');
}

template <class T> int Sign(T v) {
    return (v > 0) - (v < 0);
}

// Compares the digit runs that start at a[i] and b[j] by value and moves past them.
template <class Seq> int CompareNumbers(const Seq& a, qsizetype& i, const Seq& b, qsizetype& j) {
    while (i < a.size() && IsZero(a[i]))
        ++i;
    while (j < b.size() && IsZero(b[j]))
        ++j;
    qsizetype ei = i, ej = j;
    while (ei < a.size() && IsDigit(a[ei]))
        ++ei;
    while (ej < b.size() && IsDigit(b[ej]))
        ++ej;
    if (ei - i != ej - j)
        return ei - i < ej - j ? -1 : 1;
    for (; i < ei; ++i, ++j)
        if (a[i] != b[j])
            return a[i] < b[j] ? -1 : 1;
    j = ej;
    return 0;
}

char32_t FoldByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? u + ('a' - 'A') : u;
}

char32_t FoldChar(QChar c) {
    return c.toCaseFolded().unicode();
}

// The natural comparison of two sequences; `bail` is set at the first element that the
// folding function cannot handle (a non-ASCII byte), with i and j on that element.
template <class Seq, class Fold, class Stop>
int Natural(const Seq& a, qsizetype& i, const Seq& b, qsizetype& j, Fold fold, Stop stop,
            bool& bail) {
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            if (const int r = CompareNumbers(a, i, b, j))
                return r;
            continue;
        }
        if (stop(a[i]) || stop(b[j])) {
            bail = true;
            return 0;
        }
        const char32_t fa = fold(a[i]), fb = fold(b[j]);
        if (fa != fb)
            return fa < fb ? -1 : 1;
        ++i;
        ++j;
    }
    return i < a.size() ? 1 : (j < b.size() ? -1 : 0);
}

int NaturalUnicode(QStringView a, QStringView b) {
    qsizetype i = 0, j = 0;
    bool bail = false;
    return Natural(
        a, i, b, j, FoldChar, [](QChar) { return false; }, bail);
}
} // namespace

int CNaturalCompare::Compare(QByteArrayView a, QByteArrayView b) {
    qsizetype i = 0, j = 0;
    bool bail = false;
    int r = Natural(
        a, i, b, j, FoldByte, [](char c) { return (c & 0x80) != 0; }, bail);
    if (bail)
        r = NaturalUnicode(QString::fromUtf8(a.sliced(i)), QString::fromUtf8(b.sliced(j)));
    if (r)
        return r;
    const qsizetype n = std::min(a.size(), b.size());
    if (const int c = n ? std::memcmp(a.data(), b.data(), size_t(n)) : 0)
        return Sign(c);
    return Sign(a.size() - b.size());
}

int CNaturalCompare::Compare(QStringView a, QStringView b) {
    if (const int r = NaturalUnicode(a, b))
        return r;
    return Sign(a.compare(b, Qt::CaseSensitive));
}

namespace {
// The units are written into a buffer with the most room a key can take (a digit run of one
// digit takes six bytes) and appended at once: a key is made for every name listed.
template <class Seq, class Fold> void AppendKey(const Seq& s, Fold fold, QByteArray& key) {
    QVarLengthArray<char, 1536> buf(6 * s.size());
    char* out = buf.data();
    auto put = [&out](char32_t unit) {
        *out++ = char((unit >> 8) & 0xFF);
        *out++ = char(unit & 0xFF);
    };
    for (qsizetype i = 0; i < s.size();) {
        if (!IsDigit(s[i])) {
            put(fold(s[i++]));
            continue;
        }
        while (i < s.size() && IsZero(s[i]))
            ++i;
        qsizetype end = i;
        while (end < s.size() && IsDigit(s[end]))
            ++end;
        put(U'0');
        put(char32_t(std::min<qsizetype>(end - i, 0xFFFF)));
        for (; i < end; ++i)
            put(fold(s[i]));
    }
    key.append(buf.constData(), out - buf.constData());
}
} // namespace

void CNaturalCompare::AppendSortKey(QByteArrayView name, QByteArray& key) {
    bool ascii = true;
    for (char c : name)
        ascii = ascii && !(c & 0x80);
    if (ascii)
        AppendKey(name, FoldByte, key);
    else
        AppendKey(QStringView(QString::fromUtf8(name)), FoldChar, key);
}

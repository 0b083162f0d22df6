#include "platform/system/CMountTable.h"

#include <QFile>

QList<CMountTable::Mount> CMountTable::Read(const QByteArray& table) {
    QFile file(QFile::decodeName(table));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // readAll reads on to the end, also where the file gives no size (those of /proc).
    const QByteArray text = file.readAll();
    return Parse(text);
}

QList<CMountTable::Mount> CMountTable::Parse(const QByteArray& text) {
    QList<Mount> mounts;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3 || !fields.at(1).startsWith('/'))
            continue;
        mounts.append({Unescape(fields.at(0)), Unescape(fields.at(1)), Unescape(fields.at(2))});
    }
    return mounts;
}

// "\ooo" (three octal digits) stands for that byte; anything else is taken as it is.
QByteArray CMountTable::Unescape(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QByteArray code = field.mid(i + 1, 3);
        bool octal = field.at(i) == '\\' && code.size() == 3;
        for (const char c : code)
            octal = octal && c >= '0' && c <= '7';
        const int value = octal ? code.toInt(nullptr, 8) : 0;
        if (octal && value > 0 && value < 256) {
            out += char(value);
            i += 3;
        } else {
            out += field.at(i);
        }
    }
    return out;
}

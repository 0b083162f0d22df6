#include "sorting/SortRecord.h"

#include <sys/stat.h>

FileStamp FileStamp::Of(const QByteArray& path) {
    struct stat st {};
    if (path.isEmpty() || ::lstat(path.constData(), &st) != 0)
        return {};
    const auto ns = [](const struct timespec& t) {
        return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    return {st.st_size, ns(st.st_mtim), quint64(st.st_dev), quint64(st.st_ino), ns(st.st_ctim)};
}

bool FileStamp::SameFile(const FileStamp& other) const {
    return IsValid() && *this == other;
}

bool FileStamp::SameData(const FileStamp& other) const {
    if (!IsValid() || !other.IsValid() || size != other.size)
        return false;
    return (dev == other.dev && ino == other.ino) || mtimeNs == other.mtimeNs;
}

namespace sort_lines {
namespace {

constexpr int kKinds = 5;

quint64 HashValue(QByteArrayView text) {
    quint64 h = 14695981039346656037ull;
    for (char c : text) {
        h ^= quint8(c);
        h *= 1099511628211ull;
    }
    return h;
}

QByteArray Hash(QByteArrayView text) {
    return QByteArray::number(HashValue(text), 16).rightJustified(16, '0');
}

bool Sound(QByteArrayView body, QByteArrayView seal) {
    bool ok = false;
    return seal.size() == 16 && seal.toULongLong(&ok, 16) == HashValue(body) && ok;
}

QByteArray Sealed(QList<QByteArray> fields) {
    const QByteArray body = fields.join('\t');
    return body + "\t#" + Hash(body) + '\n';
}

QByteArray Path(const QByteArray& p) {
    return p.toPercentEncoding("/");
}

void AddStamp(QList<QByteArray>& fields, const FileStamp& s) {
    fields << QByteArray::number(s.size) << QByteArray::number(s.mtimeNs)
           << QByteArray::number(s.dev) << QByteArray::number(s.ino)
           << QByteArray::number(s.ctimeNs);
}

// Reads the fields of a line in order; any missing or malformed field spoils the reader.
class Fields {
public:
    explicit Fields(QByteArrayView line) : m_line(line) {}
    bool Ok() const { return m_bOk; }
    bool AtEnd() const { return m_nPos > m_line.size(); }
    QByteArrayView Text() {
        if (AtEnd()) {
            m_bOk = false;
            return {};
        }
        qsizetype end = m_line.indexOf('\t', m_nPos);
        if (end < 0)
            end = m_line.size();
        const QByteArrayView field = m_line.sliced(m_nPos, end - m_nPos);
        m_nPos = end + 1;
        return field;
    }
    QByteArray Path() {
        const QByteArrayView text = Text();
        return text.contains('%') ? QByteArray::fromPercentEncoding(text.toByteArray())
                                  : text.toByteArray();
    }
    qint64 Int() {
        bool ok = false;
        const qint64 n = Text().toLongLong(&ok);
        m_bOk = m_bOk && ok;
        return n;
    }
    quint64 UInt() {
        bool ok = false;
        const quint64 n = Text().toULongLong(&ok);
        m_bOk = m_bOk && ok;
        return n;
    }
    FileStamp Stamp() {
        FileStamp s;
        s.size = Int();
        s.mtimeNs = Int();
        s.dev = UInt();
        s.ino = UInt();
        s.ctimeNs = Int();
        return s;
    }

private:
    QByteArrayView m_line;
    qsizetype m_nPos = 0;
    bool m_bOk = true;
};

SortRecord* Find(QList<SortRecord>& records, quint64 seq) {
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->seq == seq)
            return &*it;
    return nullptr;
}

bool ApplyIntent(Fields& f, QList<SortRecord>& records) {
    SortRecord r;
    r.seq = f.UInt();
    r.timeMs = f.Int();
    const qint64 kind = f.Int();
    r.dest = f.Path();
    const qint64 n = f.Int();
    if (!f.Ok() || kind < 0 || kind >= kKinds || n < 0 || n > 100000)
        return false;
    if (!records.isEmpty() && r.seq <= records.last().seq)
        return false;
    r.kind = CFileAction::Kind(kind);
    for (qint64 i = 0; i < n; ++i) {
        SortEntry e;
        e.source = f.Path();
        e.sourceStamp = f.Stamp();
        r.entries.append(e);
    }
    if (!f.Ok() || !f.AtEnd())
        return false;
    records.append(r);
    return true;
}

bool ReadPlaces(Fields& f, char what, SortRecord& r) {
    const qint64 n = f.Int();
    if (!f.Ok() || n != r.entries.size())
        return false;
    QList<SortEntry> entries = r.entries;
    for (SortEntry& e : entries) { // applied only when the whole line is sound
        const QByteArray path = f.Path();
        const FileStamp stamp = f.Stamp();
        const QByteArray info = f.Path();
        if (what == 'U') {
            e.source = path;
            e.sourceStamp = stamp;
        } else {
            e.target = path;
            e.targetStamp = stamp;
            e.info = info;
        }
    }
    if (!f.Ok() || !f.AtEnd())
        return false;
    r.entries = entries;
    return true;
}

using State = SortRecord::State;

// The state a change needs before it, and the state after it.
bool Transition(char what, State from, State* to) {
    switch (what) {
    case 'D':
        *to = State::Done;
        return from == State::Intent;
    case 'F':
        *to = State::Failed;
        return from == State::Intent;
    case 'u':
        *to = State::UndoIntent;
        return from == State::Done;
    case 'U':
        *to = State::Undone;
        return from == State::UndoIntent;
    case 'r':
        *to = State::RedoIntent;
        return from == State::Undone;
    case 'R':
        *to = State::Done;
        return from == State::RedoIntent;
    case 'z':
        *to = State::Dropped;
        return from == State::Undone;
    case 'x':
        *to = from == State::UndoIntent ? State::Done : State::Undone;
        return from == State::UndoIntent || from == State::RedoIntent;
    default:
        return false;
    }
}

} // namespace

QByteArray Intent(const SortRecord& record) {
    QList<QByteArray> fields{"A",
                             QByteArray::number(record.seq),
                             QByteArray::number(record.timeMs),
                             QByteArray::number(int(record.kind)),
                             Path(record.dest),
                             QByteArray::number(record.entries.size())};
    for (const SortEntry& e : record.entries) {
        fields << Path(e.source);
        AddStamp(fields, e.sourceStamp);
    }
    return Sealed(fields);
}

QByteArray Change(quint64 seq, char what, const QList<SortEntry>& entries) {
    QList<QByteArray> fields{QByteArray(1, what), QByteArray::number(seq)};
    if (what == 'D' || what == 'U' || what == 'R') {
        fields << QByteArray::number(entries.size());
        for (const SortEntry& e : entries) {
            fields << Path(what == 'U' ? e.source : e.target);
            AddStamp(fields, what == 'U' ? e.sourceStamp : e.targetStamp);
            fields << Path(what == 'U' ? QByteArray() : e.info);
        }
    }
    return Sealed(fields);
}

bool Apply(QByteArrayView line, QList<SortRecord>& records) {
    const qsizetype mark = line.lastIndexOf("\t#");
    if (mark < 0 || !Sound(line.first(mark), line.sliced(mark + 2)))
        return false;
    Fields f(line.first(mark));
    const QByteArrayView what = f.Text();
    if (what == "A")
        return ApplyIntent(f, records);
    if (what.size() != 1)
        return false;
    SortRecord* r = Find(records, f.UInt());
    State next{};
    if (!f.Ok() || !r || !Transition(what[0], r->state, &next))
        return false;
    if (what == "D" || what == "U" || what == "R") {
        if (!ReadPlaces(f, what[0], *r))
            return false;
    } else if (!f.AtEnd()) {
        return false;
    }
    r->state = next;
    return true;
}

} // namespace sort_lines

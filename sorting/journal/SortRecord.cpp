#include "sorting/journal/SortRecord.h"

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
    return IsValid() && dev == other.dev && ino == other.ino && size == other.size &&
           mtimeNs == other.mtimeNs;
}

SortEntry SortEntry::Before(const QByteArray& path) {
    SortEntry e;
    e.source = path;
    e.sourceStamp = FileStamp::Of(path);
    return e;
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

QByteArray Sealed(const QList<QByteArray>& fields) {
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

Applied ApplyIntent(Fields& f, QList<SortRecord>& records) {
    SortRecord r;
    r.seq = f.UInt();
    r.timeMs = f.Int();
    const qint64 kind = f.Int();
    r.dest = f.Path();
    const qint64 n = f.Int();
    if (!f.Ok() || kind < 0 || kind >= kKinds || n < 0 || n > 100000)
        return Applied::Unreadable;
    r.kind = CFileAction::Kind(kind);
    for (qint64 i = 0; i < n; ++i) {
        SortEntry e;
        e.source = f.Path();
        e.sourceStamp = f.Stamp();
        r.entries.append(e);
    }
    if (!f.Ok() || !f.AtEnd())
        return Applied::Unreadable;
    if (!records.isEmpty() && r.seq <= records.last().seq)
        return Applied::OutOfPlace;
    records.append(r);
    return Applied::Yes;
}

// Which places a change line carries for each file: a done or redone action its targets,
// an undone one its sources, and an undo or redo that was taken back both.
enum class Side { Targets, Sources, Both };

Side SideOf(LineCode what) {
    return what == LineCode::Undone      ? Side::Sources
           : what == LineCode::TakenBack ? Side::Both
                                         : Side::Targets;
}

// The files replaced at their targets, each after the index of its entry: "w", the count,
// then index, place, stamp and info file for each. Lines without them replaced nothing.
bool ReadReplaced(Fields& f, QList<SortEntry>& entries) {
    for (SortEntry& e : entries)
        e.replaced = e.replacedInfo = QByteArray(), e.replacedStamp = {};
    if (f.AtEnd())
        return true;
    const qint64 n = f.Text() == "w" ? f.Int() : -1;
    if (!f.Ok() || n < 1 || n > entries.size())
        return false;
    for (qint64 i = 0; i < n; ++i) {
        const qint64 at = f.Int();
        if (!f.Ok() || at < 0 || at >= entries.size())
            return false;
        SortEntry& e = entries[at];
        e.replaced = f.Path();
        e.replacedStamp = f.Stamp();
        e.replacedInfo = f.Path();
    }
    return f.Ok();
}

bool ReadPlaces(Fields& f, LineCode what, SortRecord& r) {
    const qint64 n = f.Int();
    if (!f.Ok() || n != r.entries.size())
        return false;
    const Side side = SideOf(what);
    QList<SortEntry> entries = r.entries;
    for (SortEntry& e : entries) { // applied only when the whole line is sound
        if (side != Side::Targets) {
            e.source = f.Path();
            e.sourceStamp = f.Stamp();
        }
        if (side == Side::Sources) {
            f.Text(); // an empty info field
            continue;
        }
        e.target = f.Path();
        e.targetStamp = f.Stamp();
        e.info = f.Path();
    }
    if (side != Side::Sources && !ReadReplaced(f, entries))
        return false;
    if (!f.Ok() || !f.AtEnd())
        return false;
    r.entries = entries;
    return true;
}

void AddPlaces(QList<QByteArray>& fields, LineCode what, const QList<SortEntry>& entries) {
    const Side side = SideOf(what);
    fields << QByteArray::number(entries.size());
    for (const SortEntry& e : entries) {
        if (side != Side::Targets) {
            fields << Path(e.source);
            AddStamp(fields, e.sourceStamp);
        }
        if (side == Side::Sources) {
            fields << QByteArray();
            continue;
        }
        fields << Path(e.target);
        AddStamp(fields, e.targetStamp);
        fields << Path(e.info);
    }
    if (side == Side::Sources)
        return;
    QList<QByteArray> replaced;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const SortEntry& e = entries[i];
        if (e.replaced.isEmpty())
            continue;
        replaced << QByteArray::number(i) << Path(e.replaced);
        AddStamp(replaced, e.replacedStamp);
        replaced << Path(e.replacedInfo);
    }
    if (!replaced.isEmpty())
        fields << "w" << QByteArray::number(replaced.size() / 8) << replaced;
}

using State = SortRecord::State;

// Done, undone and redone lines always tell where the files are.
bool CarriesPlaces(LineCode what) {
    return what == LineCode::Done || what == LineCode::Undone || what == LineCode::Redone;
}

// The code of a line's first field; none for anything but one known letter.
std::optional<LineCode> CodeOf(QByteArrayView field) {
    static constexpr LineCode kAll[] = {
        LineCode::Intent,  LineCode::Done,       LineCode::Failed, LineCode::UndoIntent,
        LineCode::Undone,  LineCode::RedoIntent, LineCode::Redone, LineCode::TakenBack,
        LineCode::Dropped, LineCode::Skipped};
    if (field.size() != 1)
        return std::nullopt;
    for (LineCode code : kAll)
        if (field[0] == char(code))
            return code;
    return std::nullopt;
}

// The state a change needs before it, and the state after it.
bool Transition(LineCode what, State from, State* to) {
    switch (what) {
    case LineCode::Done:
        *to = State::Done;
        return from == State::Intent;
    case LineCode::Failed:
        *to = State::Failed;
        return from == State::Intent;
    case LineCode::UndoIntent:
        *to = State::UndoIntent;
        return from == State::Done;
    case LineCode::Undone:
        *to = State::Undone;
        return from == State::UndoIntent;
    case LineCode::RedoIntent:
        *to = State::RedoIntent;
        return from == State::Undone;
    case LineCode::Redone:
        *to = State::Done;
        return from == State::RedoIntent;
    case LineCode::Dropped:
        *to = State::Dropped;
        return from == State::Undone;
    case LineCode::Skipped:
        *to = State::Skipped;
        return from == State::Done;
    case LineCode::TakenBack:
        *to = from == State::UndoIntent ? State::Done : State::Undone;
        return from == State::UndoIntent || from == State::RedoIntent;
    default:
        return false;
    }
}

} // namespace

QByteArray Intent(const SortRecord& record) {
    QList<QByteArray> fields{QByteArray(1, char(LineCode::Intent)),
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

QByteArray Change(quint64 seq, LineCode what, const QList<SortEntry>& entries) {
    QList<QByteArray> fields{QByteArray(1, char(what)), QByteArray::number(seq)};
    if (CarriesPlaces(what) || (what == LineCode::TakenBack && !entries.isEmpty()))
        AddPlaces(fields, what, entries);
    return Sealed(fields);
}

Applied Apply(QByteArrayView line, QList<SortRecord>& records) {
    const qsizetype mark = line.lastIndexOf("\t#");
    if (mark < 0 || !Sound(line.first(mark), line.sliced(mark + 2)))
        return Applied::Unreadable;
    Fields f(line.first(mark));
    const QByteArrayView text = f.Text();
    const std::optional<LineCode> code = CodeOf(text);
    if (code == LineCode::Intent)
        return ApplyIntent(f, records);
    const quint64 seq = f.UInt();
    if (text.size() != 1 || !f.Ok())
        return Applied::Unreadable;
    SortRecord* r = Find(records, seq);
    if (!r)
        return Applied::OutOfPlace;
    State next{};
    const bool bPlaces =
        code && (CarriesPlaces(*code) || (*code == LineCode::TakenBack && !f.AtEnd()));
    if (!code || !Transition(*code, r->state, &next) || (bPlaces && !ReadPlaces(f, *code, *r)) ||
        (!bPlaces && !f.AtEnd())) {
        r->state = State::Damaged;
        return Applied::OutOfPlace;
    }
    r->state = next;
    return Applied::Yes;
}

} // namespace sort_lines

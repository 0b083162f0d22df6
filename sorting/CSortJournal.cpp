#include "sorting/CSortJournal.h"

#include <QCoreApplication>

#include "platform/CNativePath.h"
#include "platform/CTrashDirectory.h"

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kFileName = "sort-journal";

int WriteAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
    }
    return 0;
}

QByteArray ReadAll(int fd) {
    QByteArray data;
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return data;
        data.append(buf, n);
    }
}

} // namespace

QByteArray CSortJournal::DefaultFolder() {
    QByteArray state = qgetenv("XDG_STATE_HOME");
    if (!state.startsWith('/')) {
        QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/')) {
            const struct passwd* pw = ::getpwuid(::getuid());
            home = pw && pw->pw_dir ? QByteArray(pw->pw_dir) : QByteArray("/");
        }
        state = CNativePath::Join(home, ".local/state");
    }
    return CNativePath::Join(state, "Ostlewin/Vantrel");
}

CSortJournal::CSortJournal(QByteArray folder, int nLimit)
    : m_folder(std::move(folder)), m_nLimit(nLimit) {
}

CSortJournal::~CSortJournal() {
    m_flusher.reset(); // its last flush first
    if (m_fd >= 0)
        ::close(m_fd);
}

void CSortJournal::WaitFlushed() {
    if (m_flusher)
        m_flusher->WaitIdle();
}

QByteArray CSortJournal::FilePath() const {
    return CNativePath::Join(m_folder, kFileName);
}

bool CSortJournal::Fail(const QString& what, int error) {
    m_strError = QStringLiteral("%1 %2 (%3)")
                     .arg(what, CNativePath::Display(FilePath()), qt_error_string(error));
    if (m_flusher)
        m_flusher->SetFile(-1);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    return false;
}

bool CSortJournal::Open() {
    if (const int error = CTrashDirectory::MakePath(m_folder))
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot make the folder of"),
                    error);
    m_fd = ::open(FilePath().constData(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot open"), errno);
    // One program at a time keeps the journal; a second window works without undo.
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        return Fail(QCoreApplication::translate("CSortJournal", "Another Vantrel keeps"), errno);
    Read(ReadAll(m_fd));
    if (m_nDamaged > 0 && ::ftruncate(m_fd, m_nGood) != 0)
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot cut the damaged end off"),
                    errno);
    if (m_records.size() > m_nLimit && !Compact())
        return false;
    m_flusher = std::make_unique<CJournalFlusher>();
    m_flusher->SetFile(m_fd);
    return true;
}

// Takes whole lines from the start until the first that is torn, damaged or out of place.
void CSortJournal::Read(const QByteArray& data) {
    m_records.clear();
    qsizetype pos = 0;
    while (pos < data.size()) {
        const qsizetype end = data.indexOf('\n', pos);
        if (end < 0 || !sort_lines::Apply(QByteArrayView(data).sliced(pos, end - pos), m_records))
            break;
        pos = end + 1;
    }
    m_nGood = pos;
    m_nDamaged = data.size() - pos;
}

QByteArray CSortJournal::LinesOf(const SortRecord& r) {
    using State = SortRecord::State;
    QByteArray lines = sort_lines::Intent(r);
    if (r.state == State::Failed)
        return lines + sort_lines::Change(r.seq, 'F');
    if (r.state == State::Intent)
        return lines;
    lines += sort_lines::Change(r.seq, 'D', r.entries);
    if (r.state == State::Done)
        return lines;
    lines += sort_lines::Change(r.seq, 'u');
    if (r.state == State::UndoIntent)
        return lines;
    lines += sort_lines::Change(r.seq, 'U', r.entries);
    if (r.state == State::RedoIntent)
        lines += sort_lines::Change(r.seq, 'r');
    if (r.state == State::Dropped)
        lines += sort_lines::Change(r.seq, 'z');
    return lines;
}

// Keeps the newest actions up to the limit: written beside the journal, flushed, then
// renamed over it, so that a crash leaves either the old or the new journal whole.
bool CSortJournal::Compact() {
    const QList<SortRecord> kept = m_records.mid(m_records.size() - m_nLimit);
    QByteArray data;
    for (const SortRecord& r : kept)
        data += LinesOf(r);
    const QByteArray temp = FilePath() + ".new";
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot shorten"), errno);
    int error = WriteAll(fd, data);
    if (!error && ::fdatasync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temp.constData(), FilePath().constData()) != 0)
        error = errno;
    if (error) {
        ::unlink(temp.constData());
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot shorten"), error);
    }
    const int fresh = ::open(FilePath().constData(), O_RDWR | O_APPEND | O_CLOEXEC);
    if (fresh < 0 || ::flock(fresh, LOCK_EX | LOCK_NB) != 0) {
        if (fresh >= 0)
            ::close(fresh);
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot reopen"), errno);
    }
    ::close(m_fd);
    m_fd = fresh;
    if (m_flusher)
        m_flusher->SetFile(m_fd);
    m_records = kept;
    return true;
}

bool CSortJournal::Write(const QByteArray& line, bool bDurable) {
    if (m_fd < 0)
        return false;
    if (const int error = m_flusher ? m_flusher->TakeError() : 0)
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot flush"), error);
    if (const int error = WriteAll(m_fd, line))
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot write to"), error);
    if (bDurable && m_bSynchronous && ::fdatasync(m_fd) != 0)
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot flush"), errno);
    if (bDurable && !m_bSynchronous && m_flusher)
        m_flusher->Request();
    sort_lines::Apply(QByteArrayView(line).chopped(1), m_records);
    return m_records.size() <= m_nLimit + m_nLimit / 10 || Compact();
}

#include "sorting/journal/CSortJournal.h"

#include <QCoreApplication>

#include "platform/files/CNoReplaceRename.h"
#include "platform/files/CTrashDirectory.h"
#include "platform/system/CNativePath.h"

#include <QDateTime>
#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using sort_lines::LineCode;

namespace {

const QByteArray kFileName = "sort-journal";
const QByteArray kTempName = "sort-journal.new";
constexpr int kFileFlags = O_RDWR | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;

// Why the file at the journal's name cannot be the journal, empty when it can: only an
// ordinary file of the user's own with no other name is written to.
QString NotOurs(const struct stat& st) {
    if (S_ISLNK(st.st_mode))
        return QCoreApplication::translate("CSortJournal", "it was a symbolic link");
    if (!S_ISREG(st.st_mode))
        return QCoreApplication::translate("CSortJournal", "it was not an ordinary file");
    if (st.st_uid != ::geteuid())
        return QCoreApplication::translate("CSortJournal", "it belonged to another user");
    if (st.st_nlink != 1)
        return QCoreApplication::translate("CSortJournal", "it was a second name of another file");
    return {};
}

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
    if (m_dirFd >= 0)
        ::close(m_dirFd);
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
    if (!OpenFolder())
        return false;
    m_fd = OpenFile();
    if (m_fd < 0)
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot open"), errno);
    // One program at a time keeps the journal; a second window works without undo.
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0)
        return Fail(QCoreApplication::translate("CSortJournal", "Another Vantrel keeps"), errno);
    Read(ReadAll(m_fd));
    if (m_nDamaged > 0 && ::ftruncate(m_fd, m_nGood) != 0)
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot cut the torn end off"),
                    errno);
    if (m_records.size() > m_nLimit && !Compact())
        return false;
    m_flusher = std::make_unique<CJournalFlusher>();
    m_flusher->SetFile(m_fd);
    return true;
}

// The folder is made private to the user; the files in it are reached from it alone.
bool CSortJournal::OpenFolder() {
    if (const int error = CTrashDirectory::MakePath(m_folder))
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot make the folder of"),
                    error);
    if (m_dirFd < 0)
        m_dirFd = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dirFd < 0)
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot open the folder of"),
                    errno);
    struct stat st {};
    // A link in its place leads to a folder that is not ours to change.
    if (::lstat(m_folder.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
        st.st_uid == ::geteuid() && (st.st_mode & 077) != 0)
        ::fchmod(m_dirFd, 0700);
    return true;
}

// The journal's file, made when missing; a file that is not ours is set aside first.
int CSortJournal::OpenFile() {
    struct stat st {};
    if (::fstatat(m_dirFd, kFileName.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        if (const QString why = NotOurs(st); !why.isEmpty() && !SetAside(why))
            return -1;
    const int fd = ::openat(m_dirFd, kFileName.constData(), kFileFlags | O_CREAT, 0600);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &st) != 0 || !NotOurs(st).isEmpty()) { // put there since the look
        ::close(fd);
        errno = EPERM;
        return -1;
    }
    return fd;
}

QByteArray CSortJournal::SetAsideName(int n) {
    const QByteArray stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss")).toLatin1();
    return kFileName + ".set-aside-" + stamp + (n > 0 ? "-" + QByteArray::number(n) : "");
}

// Renames whatever is at the journal's name (the name itself, never what it leads to) out
// of the way, keeping it for whoever wants to look at it.
bool CSortJournal::SetAside(const QString& why) {
    for (int n = 0; n < 100; ++n) {
        const QByteArray name = SetAsideName(n);
        const int error =
            CNoReplaceRename::RenameAt(m_dirFd, kFileName.constData(), m_dirFd, name.constData());
        if (error == EEXIST)
            continue;
        if (error) {
            errno = error;
            return false;
        }
        m_strNotice = QCoreApplication::translate(
                          "CSortJournal", "The undo journal %1 could not be used: %2.  It was set "
                                          "aside as \"%3\", and a new journal was started.")
                          .arg(CNativePath::Display(FilePath()), why, QString::fromLocal8Bit(name));
        return true;
    }
    errno = EEXIST;
    return false;
}

// Takes every whole line: a damaged or out-of-place one is counted and passed over. Only
// a last line without its end, torn by a crash, is cut off.
void CSortJournal::Read(const QByteArray& data) {
    m_records.clear();
    m_nSkipped = 0;
    qsizetype pos = 0;
    for (qsizetype end; pos < data.size() && (end = data.indexOf('\n', pos)) >= 0; pos = end + 1)
        if (sort_lines::Apply(QByteArrayView(data).sliced(pos, end - pos), m_records) !=
            sort_lines::Applied::Yes)
            ++m_nSkipped;
    m_nGood = pos;
    m_nDamaged = data.size() - pos;
}

QByteArray CSortJournal::LinesOf(const SortRecord& r) {
    using State = SortRecord::State;
    QByteArray lines = sort_lines::Intent(r);
    if (r.state == State::Damaged)
        return {};
    if (r.state == State::Failed)
        return lines + sort_lines::Change(r.seq, LineCode::Failed);
    if (r.state == State::Intent)
        return lines;
    lines += sort_lines::Change(r.seq, LineCode::Done, r.entries);
    if (r.state == State::Skipped)
        lines += sort_lines::Change(r.seq, LineCode::Skipped);
    if (r.state == State::Done || r.state == State::Skipped)
        return lines;
    lines += sort_lines::Change(r.seq, LineCode::UndoIntent);
    if (r.state == State::UndoIntent)
        return lines;
    lines += sort_lines::Change(r.seq, LineCode::Undone, r.entries);
    if (r.state == State::RedoIntent)
        lines += sort_lines::Change(r.seq, LineCode::RedoIntent);
    if (r.state == State::Dropped)
        lines += sort_lines::Change(r.seq, LineCode::Dropped);
    return lines;
}

// Keeps the newest actions up to the limit (damaged ones go): written beside the journal
// under a name made anew, flushed, locked, then renamed over it, so that a crash leaves
// either the old or the new journal whole.
bool CSortJournal::Compact() {
    QList<SortRecord> kept = m_records.mid(m_records.size() - m_nLimit);
    kept.removeIf([](const SortRecord& r) { return r.state == SortRecord::State::Damaged; });
    QByteArray data;
    for (const SortRecord& r : kept)
        data += LinesOf(r);
    const int fresh = WriteCompacted(data);
    if (fresh < 0)
        return Fail(QCoreApplication::translate("CSortJournal", "Cannot shorten"), errno);
    ::close(m_fd);
    m_fd = fresh;
    if (m_flusher)
        m_flusher->SetFile(m_fd);
    m_records = kept;
    return true;
}

// The new journal's descriptor, already in place and locked; -1 with errno set when it
// could not be made, and the journal is left as it was.
int CSortJournal::WriteCompacted(const QByteArray& data) {
    ::unlinkat(m_dirFd, kTempName.constData(), 0); // a leftover, or whatever was put there
    const int fd = ::openat(m_dirFd, kTempName.constData(), kFileFlags | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return -1;
    int error = WriteAll(fd, data);
    if (!error && ::fdatasync(fd) != 0)
        error = errno;
    if (!error && ::flock(fd, LOCK_EX | LOCK_NB) != 0)
        error = errno;
    if (!error && ::renameat(m_dirFd, kTempName.constData(), m_dirFd, kFileName.constData()) != 0)
        error = errno;
    if (error) {
        ::unlinkat(m_dirFd, kTempName.constData(), 0);
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
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
    (void)sort_lines::Apply(QByteArrayView(line).chopped(1), m_records);
    return m_records.size() <= m_nLimit + m_nLimit / 10 || Compact();
}

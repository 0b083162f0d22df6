// A stand-in for a decoder helper that a hostile picture has taken over: it is shut in
// exactly as the real helper is, then tries every way it knows to change, read or reach the
// user's files (through the descriptors it was handed: one picture, or a batch's), and answers with
// what worked ("ERR attacks: name=ok|denied ..."), followed by what it found around it: its
// namespaces and network interfaces (as the sandbox gave them, before its own confinement), and its
// limits ("net=net:[...] ... cpu=16"). Asked for a picture of 1 x 1 it then spins forever, of 2 x 2
// it sleeps forever.
#include "picture/decode/CDecoderService.h"
#include "picture/sandbox/DecoderProtocol.h"
#include "picture/sandbox/HelperTask.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray s_report;

void Record(const char* name, bool worked) {
    s_report += ' ';
    s_report += name;
    s_report += worked ? "=ok" : "=denied";
}

bool WritesThrough(int fd) {
    const bool wrote = fd >= 0 && ::pwrite(fd, "X", 1, 0) == 1;
    const bool cut = fd >= 0 && ::ftruncate(fd, 0) == 0;
    if (fd >= 0)
        ::close(fd);
    return wrote || cut;
}

// Each descriptor the parent holds, reopened for writing and cut to nothing.
bool ReachesParent() {
    const QByteArray folder = "/proc/" + QByteArray::number(::getppid()) + "/fd";
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return false;
    bool worked = false;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        const QByteArray path = folder + '/' + entry->d_name;
        char target[4096] = {};
        if (::readlink(path.constData(), target, sizeof target - 1) <= 0 ||
            !QByteArray(target).startsWith(VANTREL_CANARY_DIR))
            continue; // only the test's own files are aimed at
        worked = WritesThrough(::open(path.constData(), O_WRONLY | O_TRUNC)) || worked;
    }
    ::closedir(dir);
    return worked;
}

bool Connects() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0)
        return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(9);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = ::connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0 ||
                           errno == ECONNREFUSED; // reached the network at all
    ::close(s);
    return connected;
}

bool Opens(int domain, int type) {
    const int s = ::socket(domain, type, 0);
    if (s >= 0)
        ::close(s);
    return s >= 0;
}

void Fact(const char* name, const QByteArray& value) {
    s_report += ' ';
    s_report += name;
    s_report += '=';
    s_report += value.isEmpty() ? QByteArray("unknown") : value;
}

QByteArray Namespace(const char* kind) {
    char target[256] = {};
    const QByteArray link = QByteArray("/proc/self/ns/") + kind;
    return ::readlink(link.constData(), target, sizeof target - 1) > 0 ? QByteArray(target)
                                                                       : QByteArray();
}

// The names of the network interfaces it can see, comma-separated.
QByteArray Interfaces() {
    QFile dev(QStringLiteral("/proc/net/dev"));
    if (!dev.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> names;
    for (const QByteArray& line : dev.readAll().split('\n'))
        if (const qsizetype colon = line.indexOf(':'); colon > 0)
            names << line.left(colon).trimmed();
    return names.join(',');
}

QByteArray Limit(int resource) {
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0)
        return {};
    return limit.rlim_cur == RLIM_INFINITY ? QByteArray("none")
                                           : QByteArray::number(qulonglong(limit.rlim_cur));
}

QByteArray Surroundings() {
    QByteArray facts;
    for (const char* kind : {"net", "pid", "ipc", "uts", "mnt"})
        facts += ' ' + QByteArray(kind) + '=' + Namespace(kind);
    return facts + " interfaces=" + Interfaces(); // "" when /proc/net/dev cannot be read
}

// Writes back through each descriptor it was handed, and through reopening it.
void AttackHanded(const QList<int>& handed) {
    bool wrote = false, cut = false, reopened = false, reopenedCut = false;
    for (const int fd : handed) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        wrote = ::pwrite(fd, "X", 1, 0) == 1 || wrote;
        cut = ::ftruncate(fd, 0) == 0 || cut;
        reopened = WritesThrough(::open(self.constData(), O_RDWR)) || reopened;
        reopenedCut = WritesThrough(::open(self.constData(), O_WRONLY | O_TRUNC)) || reopenedCut;
    }
    Record("write-fd", wrote);
    Record("truncate-fd", cut);
    Record("reopen-self", reopened);
    Record("reopen-self-trunc", reopenedCut);
}

void Attack(const QList<int>& handed) {
    const QByteArray canary = VANTREL_CANARY_DIR "/canary.txt";
    const QByteArray dropped = VANTREL_CANARY_DIR "/dropped.txt";
    char byte = 0;
    AttackHanded(handed);
    Record("parent-fds", ReachesParent());
    const int read = ::open(canary.constData(), O_RDONLY);
    Record("read-canary", read >= 0 && ::read(read, &byte, 1) == 1);
    Record("write-canary", WritesThrough(::open(canary.constData(), O_WRONLY)));
    Record("create", ::open(dropped.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600) >= 0);
    Record("rename", ::rename(canary.constData(), dropped.constData()) == 0);
    Record("unlink", ::unlink(canary.constData()) == 0);
    Record("chmod", ::chmod(canary.constData(), 0777) == 0);
    Record("lease", ::fcntl(decoder_protocol::kInputFd, F_SETLEASE, F_RDLCK) == 0);
    Record("network", Connects());
    Record("socket-inet", Opens(AF_INET, SOCK_DGRAM));
    Record("socket-unix", Opens(AF_UNIX, SOCK_STREAM));
    Record("socket-netlink", Opens(AF_NETLINK, SOCK_RAW));
    Record("read-passwd", QFile(QStringLiteral("/etc/passwd")).open(QIODevice::ReadOnly));
    DIR* listed = ::opendir(VANTREL_CANARY_DIR);
    Record("list-canary-dir", listed != nullptr);
    if (listed)
        ::closedir(listed);
    Record("signal-parent", ::kill(::getppid(), 0) == 0);
}

[[noreturn]] void Hang(bool spin) {
    volatile unsigned long turns = 0;
    for (;;) {
        turns = turns + 1;
        if (!spin) {
            const timespec second{1, 0};
            ::nanosleep(&second, nullptr);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    // Started ahead, as the program starts its helpers: the task comes over the socket.
    if (args == QStringList{QString::fromLatin1(helper_task::kWaitArgument)} &&
        !helper_task::Receive(decoder_protocol::kInputFd, args))
        return 2;
    CDecoderService::SRequest request;
    if (!CDecoderService::ParseArguments(args, request))
        return 2;
    const QByteArray surroundings = Surroundings();
    if (const QString why = CDecoderService::Confine(request); !why.isEmpty()) {
        const QByteArray line = "ERR " + why.toUtf8() + '\n';
        return ::write(STDOUT_FILENO, line.constData(), size_t(line.size())) > 0 ? 3 : 4;
    }
    // The file to decode, or the files of a batch.
    QList<int> handed{decoder_protocol::kInputFd};
    if (request.bDates) {
        handed.clear();
        for (qsizetype i = 0; i < request.formats.size(); ++i)
            handed << decoder_protocol::kFirstFileFd + int(i);
    }
    Attack(handed);
    if (request.target == QSize(1, 1) || request.target == QSize(2, 2))
        Hang(request.target == QSize(1, 1));
    s_report += surroundings;
    Fact("memory", Limit(RLIMIT_AS));
    Fact("cpu", Limit(RLIMIT_CPU));
    const QByteArray line = "ERR attacks:" + s_report + '\n';
    return ::write(STDOUT_FILENO, line.constData(), size_t(line.size())) > 0 ? 2 : 4;
}

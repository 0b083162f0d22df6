#pragma once

#include "sorting/journal/CUndoHistory.h"
#include "tests/sorting/SessionTestBase.h"

#include <QMap>
#include <sys/stat.h>

// Base of the undo tests: the scratch folders and the session of the sort-session tests, a
// journal folder state/, and pictures with a fixed mode and modification time so that both
// can be checked after a round trip.
class UndoTestBase : public SessionTestBase {
protected:
    using Kind = CFileAction::Kind;
    static constexpr time_t kMtime = 1500000000;

    void ResetAll() {
        Reset();
        state = root + "/state";
    }
    std::unique_ptr<CUndoHistory> History(int limit = 10000) {
        auto h = std::make_unique<CUndoHistory>(std::make_unique<CSortJournal>(state, limit));
        h->Start();
        return h;
    }
    static QByteArray Stamped(const QByteArray& path, qint64 size = 5000, int seed = 1) {
        const QByteArray data = Picture(path, size, seed);
        ::chmod(path.constData(), 0640);
        const struct timespec times[2] = {{kMtime, 0}, {kMtime, 0}};
        ::utimensat(AT_FDCWD, path.constData(), times, AT_SYMLINK_NOFOLLOW);
        return data;
    }
    // The picture at path is whole, with its mode and modification time.
    static bool Intact(const QByteArray& path, const QByteArray& data) {
        struct stat st {};
        return ::stat(path.constData(), &st) == 0 && ReadBytes(path) == data &&
               (st.st_mode & 07777) == 0640 && st.st_mtim.tv_sec == kMtime;
    }
    static CFileOpResult Perform(CFileOperations& ops, Kind kind, const QByteArray& file,
                                 const QByteArray& dest) {
        switch (kind) {
        case Kind::Move:
            return ops.Move(file, dest);
        case Kind::Copy:
            return ops.Copy(file, dest);
        case Kind::Trash:
            return ops.Delete(file, true);
        case Kind::Delete:
            return ops.Delete(file, false);
        case Kind::Rename:
            return ops.Rename(file, dest);
        }
        return {};
    }
    // Every ordinary file below root, by its path from there, with its content; the journal's
    // folder is left out, and so are the trash's info files (which hold a time) unless asked for.
    static QMap<QByteArray, QByteArray> Files(const QByteArray& root, bool bTrashInfo = true) {
        QMap<QByteArray, QByteArray> files;
        Collect(root, {}, bTrashInfo, files);
        return files;
    }
    // Returns once the file system's clock has passed the change time in `stamp`, so that
    // whatever changes an inode from now on gives it another change time. A file in `dir`
    // is changed until its change time shows that.
    static void PassChangeTime(const FileStamp& stamp, const QByteArray& dir) {
        const QByteArray probe = dir + "/.clock-probe";
        if (!WriteBytes(probe, "probe"))
            qFatal("cannot write the clock probe");
        while (FileStamp::Of(probe).ctimeNs <= stamp.ctimeNs)
            ::chmod(probe.constData(), 0600);
        ::unlink(probe.constData());
    }
    CFileOpResult Act(CUndoHistory& h, Kind kind, const QByteArray& file, const QByteArray& dest) {
        return h
            .Run({kind, {file}, dest},
                 [&](const QByteArray& f) { return Perform(*ops, kind, f, dest); })
            .first();
    }

    QByteArray state;

private:
    static void Collect(const QByteArray& root, const QByteArray& rel, bool bTrashInfo,
                        QMap<QByteArray, QByteArray>& files) {
        for (const QByteArray& name : ListDir(rel.isEmpty() ? root : root + "/" + rel)) {
            const QByteArray sub = rel.isEmpty() ? name : rel + "/" + name;
            struct stat st {};
            ::lstat((root + "/" + sub).constData(), &st);
            if (S_ISDIR(st.st_mode) && sub != "state" &&
                (bTrashInfo || !sub.endsWith("Trash/info")))
                Collect(root, sub, bTrashInfo, files);
            else if (S_ISREG(st.st_mode))
                files.insert(sub, ReadBytes(root + "/" + sub));
        }
    }
};

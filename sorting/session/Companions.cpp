#include "sorting/session/Companions.h"

#include "platform/files/CFolderHandle.h"
#include "platform/system/CNativePath.h"
#include "resources/FileTypes.h"

#include <QMultiHash>
#include <QSet>
#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace companions {
namespace {

constexpr int kJpegBit = 0x0400;

// Every spelling of an ASCII ending in upper and lower case ("xmp", "Xmp", ... "XMP").
QList<QByteArray> LetterCases(const QByteArray& ending) {
    const QByteArray lower = ending.toLower();
    const QByteArray upper = ending.toUpper();
    QList<QByteArray> spellings{lower};
    for (qsizetype i = 0; i < lower.size(); ++i) {
        if (upper.at(i) == lower.at(i))
            continue; // a digit
        const qsizetype count = spellings.size();
        for (qsizetype k = 0; k < count; ++k)
            spellings.append(QByteArray(spellings.at(k)).replace(i, 1, upper.mid(i, 1)));
    }
    return spellings;
}

// Every letter case of every extension of a JPEG, and of a camera RAW; made once.
struct TwinKinds {
    QStringList jpeg = ExtensionsOf(kJpegBit), raw = ExtensionsOf(filetypes::kRawBit);
    QList<QByteArray> jpegSpellings = SpellingsOf(jpeg), rawSpellings = SpellingsOf(raw);

    static QStringList ExtensionsOf(int bit) {
        const filetypes::PictureFileType* row = filetypes::FindByBit(bit);
        return row ? filetypes::Extensions(*row) : QStringList();
    }
    static QList<QByteArray> SpellingsOf(const QStringList& extensions) {
        QList<QByteArray> spellings;
        for (const QString& extension : extensions)
            spellings += LetterCases(extension.toLatin1());
        return spellings;
    }
};

// The extensions of the other kind of twin: RAW for a JPEG, JPEG for a RAW, none otherwise.
const QList<QByteArray>& TwinSpellings(const QByteArray& extension) {
    static const TwinKinds kinds;
    static const QList<QByteArray> none;
    const QString ext = QString::fromLatin1(extension);
    if (ext.isEmpty())
        return none;
    if (kinds.jpeg.contains(ext, Qt::CaseInsensitive))
        return kinds.rawSpellings;
    if (kinds.raw.contains(ext, Qt::CaseInsensitive))
        return kinds.jpegSpellings;
    return none;
}

// Looks names up beside the picture, in its folder's descriptor, and keeps each file it
// meets once.
class CFinder {
public:
    CFinder(int dirFd, const QByteArray& picture, const QSet<QByteArray>* listing)
        : m_dirFd(dirFd), m_listing(listing) {
        struct stat st {};
        if (m_dirFd >= 0 && ::fstatat(m_dirFd, picture.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            IsNew(st);
    }

    // base + "." + each spelling that names an ordinary file not met before.
    QList<Companion> Probe(const QByteArray& base, const QList<QByteArray>& spellings) {
        QList<Companion> found;
        const QByteArray stem = base + '.';
        for (const QByteArray& spelling : spellings) {
            const QByteArray name = stem + spelling;
            if (m_listing && !m_listing->contains(name))
                continue;
            if (m_dirFd < 0) { // by the listing's names alone
                found.append({name, CFileIdentity()});
                continue;
            }
            struct stat st {};
            if (::fstatat(m_dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISREG(st.st_mode) && IsNew(st))
                found.append({name, CFileIdentity::Of(st)});
        }
        return found;
    }

private:
    bool IsNew(const struct stat& st) {
        const std::pair<quint64, quint64> id{quint64(st.st_dev), quint64(st.st_ino)};
        if (m_seen.contains(id))
            return false;
        m_seen.insert(id);
        return true;
    }

    int m_dirFd;
    const QSet<QByteArray>* m_listing;
    QSet<std::pair<quint64, quint64>> m_seen; // device, inode
};

} // namespace

QList<QByteArray> Find(const QByteArray& picture) {
    const QByteArray name = CNativePath::FileName(picture);
    if (name.isEmpty())
        return {};
    const QByteArray dir = CNativePath::DirName(picture);
    const CFolderHandle folder = CFolderHandle::Open(dir);
    QList<QByteArray> paths;
    for (const Companion& companion : FindIn(folder.Fd(), name))
        paths.append(CNativePath::Join(dir, companion.name));
    return paths;
}

int Count(const QByteArray& picture, const SFolderNames& listed) {
    if (!listed.IsOf(CNativePath::DirName(picture)))
        return int(Find(picture).size());
    return int(FindIn(-1, CNativePath::FileName(picture), &listed.names).size());
}

bool IsTwinName(const QByteArray& name, const QByteArray& other) {
    const qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0 || other.size() <= dot + 1 || other.at(dot) != '.' ||
        !other.startsWith(name.left(dot)))
        return false;
    return TwinSpellings(name.mid(dot + 1)).contains(other.mid(dot + 1));
}

QList<int> ListedTwins(const QList<QByteArray>& pictures, const QList<QByteArray>& listed) {
    QMultiHash<QByteArray, QByteArray> byStem; // the pictures' names by path up to the extension
    for (const QByteArray& file : pictures)
        byStem.insert(file.left(file.lastIndexOf('.')), CNativePath::FileName(file));
    QList<int> twins;
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const QByteArray& file = listed.at(i);
        const QByteArray name = CNativePath::FileName(file);
        const QList<QByteArray> same = byStem.values(file.left(file.lastIndexOf('.')));
        if (std::any_of(same.cbegin(), same.cend(),
                        [&name](const QByteArray& picture) { return IsTwinName(picture, name); }))
            twins.append(int(i));
    }
    return twins;
}

QSet<QByteArray> Names(int dirFd) {
    QSet<QByteArray> names;
    const int fd = dirFd < 0 ? -1 : ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!dir) {
        if (fd >= 0)
            ::close(fd);
        return names;
    }
    while (const dirent* entry = ::readdir(dir))
        names.insert(QByteArray(entry->d_name));
    ::closedir(dir);
    return names;
}

QList<Companion> FindIn(int dirFd, const QByteArray& name, const QSet<QByteArray>* listing) {
    if ((dirFd < 0 && !listing) || name.isEmpty())
        return {};
    static const QList<QByteArray> kXmp = LetterCases("xmp");
    const qsizetype dot = name.lastIndexOf('.');
    CFinder finder(dirFd, name, listing);
    QList<Companion> found;
    if (dot < 0) // no extension: NAME.xmp is the only sidecar
        return finder.Probe(name, kXmp);
    // A name that is all extension (".jpg") has no stem to share with anything.
    const QByteArray stem = name.left(dot);
    if (!stem.isEmpty())
        found += finder.Probe(stem, kXmp);
    found += finder.Probe(name, kXmp);
    if (stem.isEmpty())
        return found;
    for (const Companion& twin : finder.Probe(stem, TwinSpellings(name.mid(dot + 1)))) {
        found.append(twin);
        found += finder.Probe(twin.name, kXmp);
    }
    return found;
}

} // namespace companions

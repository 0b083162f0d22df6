#include "sorting/Companions.h"

#include "platform/CNativePath.h"
#include "resources/FileTypes.h"

#include <QSet>
#include <sys/stat.h>
#include <utility>

namespace companions {
namespace {

using Identity = std::pair<quint64, quint64>; // device, inode

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

// Looks names up beside the picture and keeps each file it meets once.
class CFinder {
public:
    explicit CFinder(const QByteArray& picture) : m_dir(CNativePath::DirName(picture)) {
        struct stat st {};
        if (::lstat(picture.constData(), &st) == 0)
            IsNew(st);
    }

    // base + "." + each spelling that names an ordinary file not met before.
    QList<QByteArray> Probe(const QByteArray& base, const QList<QByteArray>& spellings) {
        QList<QByteArray> found;
        const QByteArray stem = CNativePath::Join(m_dir, base) + '.';
        for (const QByteArray& spelling : spellings) {
            const QByteArray path = stem + spelling;
            struct stat st {};
            if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && IsNew(st))
                found.append(path);
        }
        return found;
    }

private:
    bool IsNew(const struct stat& st) {
        const Identity id{quint64(st.st_dev), quint64(st.st_ino)};
        if (m_seen.contains(id))
            return false;
        m_seen.insert(id);
        return true;
    }

    QByteArray m_dir;
    QSet<Identity> m_seen;
};

} // namespace

QList<QByteArray> Find(const QByteArray& picture) {
    const QByteArray name = CNativePath::FileName(picture);
    if (name.isEmpty())
        return {};
    static const QList<QByteArray> kXmp = LetterCases("xmp");
    const qsizetype dot = name.lastIndexOf('.');
    CFinder finder(picture);
    QList<QByteArray> found;
    if (dot < 0) // no extension: NAME.xmp is the only sidecar
        return finder.Probe(name, kXmp);
    // A name that is all extension (".jpg") has no stem to share with anything.
    const QByteArray stem = name.left(dot);
    if (!stem.isEmpty())
        found += finder.Probe(stem, kXmp);
    found += finder.Probe(name, kXmp);
    if (stem.isEmpty())
        return found;
    for (const QByteArray& twin : finder.Probe(stem, TwinSpellings(name.mid(dot + 1)))) {
        found.append(twin);
        found += finder.Probe(CNativePath::FileName(twin), kXmp);
    }
    return found;
}

} // namespace companions

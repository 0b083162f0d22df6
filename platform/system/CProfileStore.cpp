#include "platform/system/CProfileStore.h"

#include "platform/system/LocaleFormat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {
const QString kOrganisation = QStringLiteral("Ostlewin");
const QString kApplication = QStringLiteral("Vantrel");

QString Quoted(const QString& path) {
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}
} // namespace

CProfileStore::CProfileStore() : m_strFile(UserFileName()) {
    SetAsideIfUnfit(m_strFile);
    if (!m_pScratch)
        m_settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                 kOrganisation, kApplication);
}

CProfileStore::CProfileStore(const QString& iniFile) : m_strFile(iniFile) {
    SetAsideIfUnfit(m_strFile);
    if (!m_pScratch)
        m_settings = std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
}

QString CProfileStore::UserFileName() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + kOrganisation + QLatin1Char('/') + kApplication +
           QStringLiteral(".conf");
}

// Reading a huge file takes seconds and memory, and writing it back doubles the damage; a
// pipe in its place would never end. Such a file is renamed to "<name>.bad" (replacing an
// older one) and the store starts empty. When it cannot even be renamed, the store works in
// a scratch file and never writes over it.
void CProfileStore::SetAsideIfUnfit(const QString& file) {
    const QFileInfo info(file);
    if (!info.exists() || info.isDir() || (info.isFile() && info.size() <= kMaxFileBytes))
        return;
    const QString bad = file + QStringLiteral(".bad");
    const QString why =
        info.isFile()
            ? QCoreApplication::translate("CProfileStore",
                                          "it is %1 MB, far more than settings ever take")
                  .arg(locale_format::Current().toString(double(info.size()) / (1 << 20), 'f', 1))
            : QCoreApplication::translate("CProfileStore", "it is not an ordinary file");
    if (std::rename(QFile::encodeName(file).constData(), QFile::encodeName(bad).constData()) == 0) {
        m_strLoadProblem =
            QCoreApplication::translate("CProfileStore",
                                        "The settings file %1 was not read: %2. It was kept "
                                        "as %3 and the program starts with its default "
                                        "settings.")
                .arg(Quoted(file), why, Quoted(bad));
        return;
    }
    const int error = errno;
    m_pScratch = std::make_unique<QTemporaryDir>();
    m_settings = std::make_unique<QSettings>(m_pScratch->filePath(QStringLiteral("scratch.conf")),
                                             QSettings::IniFormat);
    m_strLoadProblem =
        QCoreApplication::translate("CProfileStore",
                                    "The settings file %1 was not read: %2, and it cannot be "
                                    "renamed (%3). The program starts with its default "
                                    "settings and will not save them.")
            .arg(Quoted(file), why, qt_error_string(error));
}

CProfileStore::~CProfileStore() = default;

QString CProfileStore::Key(const QString& section, const QString& entry) const {
    return section + QLatin1Char('/') + entry;
}

int CProfileStore::GetProfileInt(const QString& section, const QString& entry, int nDefault) const {
    const QVariant v = m_settings->value(Key(section, entry));
    if (!v.isValid())
        return nDefault;
    bool ok = false;
    const int n = v.toString().trimmed().toInt(&ok);
    return ok ? n : nDefault;
}

QString CProfileStore::GetProfileString(const QString& section, const QString& entry,
                                        const QString& strDefault) const {
    const QVariant v = m_settings->value(Key(section, entry));
    if (!v.isValid())
        return strDefault;
    // A list (an unquoted comma in a hand-edited file) reads back as the text it was.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void CProfileStore::WriteProfileInt(const QString& section, const QString& entry, int nValue) {
    m_settings->setValue(Key(section, entry), nValue);
}

void CProfileStore::WriteProfileString(const QString& section, const QString& entry,
                                       const QString& value) {
    // Never a null string: an empty value is stored as an empty value, not removed.
    m_settings->setValue(Key(section, entry), value.isNull() ? QStringLiteral("") : value);
}

bool CProfileStore::Flush() {
    m_settings->sync();
    if (m_pScratch) {
        m_strWriteError =
            QCoreApplication::translate("CProfileStore",
                                        "The settings cannot be saved to %1, which is in the "
                                        "way and could not be renamed.")
                .arg(Quoted(m_strFile));
        return false;
    }
    if (m_settings->status() == QSettings::NoError) {
        m_strWriteError.clear();
        return true;
    }
    m_strWriteError =
        QCoreApplication::translate("CProfileStore",
                                    "The settings cannot be saved to %1: %2. The changes made "
                                    "since the program started are lost.")
            .arg(Quoted(FileName()), WhyNotWritable());
    return false;
}

QString CProfileStore::FileName() const {
    return m_pScratch ? m_strFile : m_settings->fileName();
}

// The store tells only that writing failed; the reason is found by doing what it does: a
// new file beside the settings file, written, flushed and removed again.
QString CProfileStore::WhyNotWritable() const {
    const QByteArray file = QFile::encodeName(FileName());
    struct stat st {};
    if (::stat(file.constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return QCoreApplication::translate("CProfileStore",
                                           "a folder of that name is in its place");
    const QByteArray dir = QFile::encodeName(QFileInfo(FileName()).absolutePath());
    if (::stat(dir.constData(), &st) != 0)
        return qt_error_string(errno);
    QByteArray trial = dir + "/.vantrel-settings-XXXXXX";
    const int fd = ::mkstemp(trial.data());
    if (fd < 0)
        return qt_error_string(errno);
    const qint64 size = std::max<qint64>(QFileInfo(FileName()).size(), 64 * 1024);
    const std::vector<char> zeros(static_cast<size_t>(size));
    int error = 0;
    const ssize_t written = ::write(fd, zeros.data(), zeros.size());
    if (written >= 0 && written != static_cast<ssize_t>(zeros.size()))
        error = ENOSPC; // a short write: the disk is full
    else if (written < 0 || ::fsync(fd) != 0)
        error = errno;
    ::close(fd);
    ::unlink(trial.constData());
    return error ? qt_error_string(error)
                 : QCoreApplication::translate(
                       "CProfileStore", "the reason is not known (a trial file could be written)");
}

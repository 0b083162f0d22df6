#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

class QSettings;
class QTemporaryDir;

// The per-user store of the program's settings: sections of named integer and string
// values. The program's store lives under organisation "Ostlewin", application "Vantrel"
// in the platform's native place (the registry on Windows, ~/.config/Ostlewin/Vantrel.conf
// on Linux); tests open a store on a file of their own.
//
// A settings file far larger than the program ever writes (junk, or something else put in
// its place) is not read: it is kept aside beside it as "<name>.bad" and the store starts
// empty, so every setting takes its default. LoadProblem() then says so.
class CProfileStore {
public:
    // Larger settings files are kept aside unread.
    static constexpr qint64 kMaxFileBytes = 1 << 20;

    CProfileStore();                                // the user's store
    explicit CProfileStore(const QString& iniFile); // a store in one file
    ~CProfileStore();
    CProfileStore(const CProfileStore&) = delete;
    CProfileStore& operator=(const CProfileStore&) = delete;

    // An absent value, or one that is not a whole number, reads as nDefault.
    int GetProfileInt(const QString& section, const QString& entry, int nDefault) const;
    // An absent value reads as strDefault; a stored empty string stays empty.
    QString GetProfileString(const QString& section, const QString& entry,
                             const QString& strDefault) const;
    void WriteProfileInt(const QString& section, const QString& entry, int nValue);
    void WriteProfileString(const QString& section, const QString& entry, const QString& value);

    // Writes pending changes to permanent storage; false when that failed, and WriteError()
    // then names the file and the reason.
    bool Flush();
    QString FileName() const;
    QString WriteError() const { return m_strWriteError; }
    // What the user should be told about the settings file found at start; empty when it
    // was read normally.
    QString LoadProblem() const { return m_strLoadProblem; }

    // Where the user's store keeps its file on this system.
    static QString UserFileName();

private:
    void SetAsideIfUnfit(const QString& file);
    QString WhyNotWritable() const;
    QString Key(const QString& section, const QString& entry) const;

    std::unique_ptr<QTemporaryDir>
        m_pScratch; // holds the store when the file could not be kept aside
    std::unique_ptr<QSettings> m_settings;
    QString m_strFile;
    QString m_strLoadProblem;
    QString m_strWriteError;
};

#pragma once

#include <QString>
#include <memory>

class QSettings;

// The per-user store of the program's settings: sections of named integer and string
// values. The program's store lives under organisation "Ostlewin", application "Vantrel"
// in the platform's native place (the registry on Windows, ~/.config/Ostlewin/Vantrel.conf
// on Linux); tests open a store on a file of their own.
class CProfileStore {
public:
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

    // Writes pending changes to permanent storage; false when that failed.
    bool Flush();
    QString FileName() const;

private:
    QString Key(const QString& section, const QString& entry) const;
    std::unique_ptr<QSettings> m_settings;
};

#include "platform/CProfileStore.h"

#include <QSettings>

CProfileStore::CProfileStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("Ostlewin"),
                                             QStringLiteral("Vantrel"))) {
}

CProfileStore::CProfileStore(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {
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
    return m_settings->status() == QSettings::NoError;
}

QString CProfileStore::FileName() const {
    return m_settings->fileName();
}

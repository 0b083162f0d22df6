#include "settings/CSettingsKeeper.h"

#include "platform/system/CProfileStore.h"
#include "settings/CSettings.h"

CSettingsKeeper::CSettingsKeeper(CSettings& settings, CProfileStore& store, QObject* parent)
    : QObject(parent), m_settings(settings), m_store(store) {
    m_settings.SetListener([this] { OnChanged(); });
}

void CSettingsKeeper::StopListening() {
    m_settings.SetListener(nullptr);
    m_bPending = false;
}

void CSettingsKeeper::OnChanged() {
    if (m_bPending)
        return;
    m_bPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_bPending)
                WriteNow();
        },
        Qt::QueuedConnection);
}

bool CSettingsKeeper::WriteNow() {
    m_bPending = false;
    if (m_settings.SaveChanges(m_store))
        return true;
    Q_EMIT WriteFailed(m_store.WriteError());
    return false;
}

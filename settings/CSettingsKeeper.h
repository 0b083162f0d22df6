#pragma once

#include <QObject>
#include <QString>

class CProfileStore;
class CSettings;

// Writes the settings to their store as soon as they change, so that a crash or a power cut
// loses nothing set up before it: a destination, a set, an option, the filter. Changes
// made together (a dialog's OK, a destination's name and folder) are written once, when
// the program next returns to its event loop. The window rectangle is not among them: it
// is written when the window closes.
class CSettingsKeeper : public QObject {
    Q_OBJECT
public:
    // Listens to settings, which must outlive the keeper's listening (see StopListening).
    CSettingsKeeper(CSettings& settings, CProfileStore& store, QObject* parent = nullptr);

    // Writes what is pending now; false (and WriteFailed) when the store could not be written.
    bool WriteNow();
    bool WritePending() const { return m_bPending; }
    // From now on changes are only kept in memory.
    void StopListening();

Q_SIGNALS:
    // The store could not be written; the text names the file and the reason.
    void WriteFailed(const QString& why);

private:
    void OnChanged();

    CSettings& m_settings;
    CProfileStore& m_store;
    bool m_bPending = false;
};

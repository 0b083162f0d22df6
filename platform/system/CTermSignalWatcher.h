#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the system's requests to end the program (SIGTERM, as sent when the user logs out
// or the system shuts down, SIGHUP and SIGINT) into a Qt signal on the user-interface
// thread, so the program can close its window normally and keep its settings. Where the
// platform has no such signals it never fires.
class CTermSignalWatcher : public QObject {
    Q_OBJECT
public:
    explicit CTermSignalWatcher(QObject* parent = nullptr);
    ~CTermSignalWatcher() override;

Q_SIGNALS:
    void TerminationRequested();

private:
    void OnReadable();
    QSocketNotifier* m_pNotifier = nullptr;
};

#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QTimer>
#include <memory>

// Which lock keys are on, where the platform tells: on X11 through the keyboard extension
// (XKB) over Qt's own connection to the X server, followed as the server reports changes.
// Where nothing tells (another platform, no keyboard extension) the state stays unknown and
// every key reads as off.
class CLockKeys : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    struct State {
        bool known = false;
        bool caps = false;
        bool num = false;
        bool scroll = false;
        friend bool operator==(const State&, const State&) = default;
    };

    explicit CLockKeys(QObject* parent = nullptr);
    ~CLockKeys() override;

    State Current() const { return m_state; }
    // Reads the state again now.
    void Refresh();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    void Changed(const CLockKeys::State& state);

private:
    struct Xkb;
    std::unique_ptr<Xkb> m_xkb; // null where the platform cannot tell
    State m_state;
    QTimer m_refresh; // events come in bursts; one read after them
};

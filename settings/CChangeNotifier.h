#pragma once

#include <functional>
#include <utility>

// Tells one listener that the object holding it has changed. A copy starts without a
// listener; an assignment keeps the listener it has and tells it, since assigning a whole
// object is a change of it. Declare it as the holder's last member, so that it speaks only
// after every other member has been assigned.
class CChangeNotifier {
public:
    CChangeNotifier() = default;
    CChangeNotifier(const CChangeNotifier&) {}
    CChangeNotifier& operator=(const CChangeNotifier& other) {
        if (this != &other)
            Notify();
        return *this;
    }
    ~CChangeNotifier() = default;

    void SetListener(std::function<void()> listener) { m_listener = std::move(listener); }
    void Notify() const {
        if (m_listener)
            m_listener();
    }

private:
    std::function<void()> m_listener;
};

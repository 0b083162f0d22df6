#include "platform/system/CLockKeys.h"

#include <QGuiApplication>

#ifdef VANTREL_HAVE_XKB_X11
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
// The keyboard extension's header names a member "explicit", a word C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>
#endif

#ifdef VANTREL_HAVE_XKB_X11
struct CLockKeys::Xkb {
    xcb_connection_t* connection = nullptr;
    int32_t device = -1;
    uint8_t firstEvent = 0;
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;

    ~Xkb() {
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }

    static std::unique_ptr<Xkb> Open() {
        auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        if (!x11 || !x11->connection())
            return nullptr;
        auto xkb = std::make_unique<Xkb>();
        xkb->connection = x11->connection();
        uint8_t firstEvent = 0;
        if (!xkb_x11_setup_xkb_extension(
                xkb->connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &firstEvent, nullptr))
            return nullptr;
        xkb->firstEvent = firstEvent;
        xkb->device = xkb_x11_get_core_keyboard_device_id(xkb->connection);
        xkb->context = xkb_context_new(XKB_CONTEXT_NO_DEFAULT_INCLUDES);
        if (xkb->device < 0 || !xkb->context || !xkb->LoadKeymap())
            return nullptr;
        // Qt asks the server for the keyboard's state changes on this connection already
        // (lock modifiers included), so their events pass the filter without asking again.
        return xkb;
    }

    bool LoadKeymap() {
        xkb_keymap_unref(keymap);
        keymap = xkb_x11_keymap_new_from_device(context, connection, device,
                                                XKB_KEYMAP_COMPILE_NO_FLAGS);
        return keymap != nullptr;
    }

    State Read() const {
        State s;
        xkb_state* state = xkb_x11_state_new_from_device(keymap, connection, device);
        if (!state)
            return s;
        s.known = true;
        s.caps = xkb_state_led_name_is_active(state, XKB_LED_NAME_CAPS) > 0;
        s.num = xkb_state_led_name_is_active(state, XKB_LED_NAME_NUM) > 0;
        s.scroll = xkb_state_led_name_is_active(state, XKB_LED_NAME_SCROLL) > 0;
        xkb_state_unref(state);
        return s;
    }
};
#else
struct CLockKeys::Xkb {};
#endif

CLockKeys::CLockKeys(QObject* parent) : QObject(parent) {
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, &CLockKeys::Refresh);
#ifdef VANTREL_HAVE_XKB_X11
    m_xkb = Xkb::Open();
    if (m_xkb)
        QCoreApplication::instance()->installNativeEventFilter(this);
#endif
    Refresh();
}

CLockKeys::~CLockKeys() {
    if (m_xkb && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void CLockKeys::Refresh() {
    State now;
#ifdef VANTREL_HAVE_XKB_X11
    if (m_xkb)
        now = m_xkb->Read();
#endif
    if (now == m_state)
        return;
    m_state = now;
    Q_EMIT Changed(m_state);
}

bool CLockKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
#ifdef VANTREL_HAVE_XKB_X11
    if (!m_xkb || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != m_xkb->firstEvent)
        return false;
    switch (event->pad0) { // the extension's own event type
    case XCB_XKB_NEW_KEYBOARD_NOTIFY:
    case XCB_XKB_MAP_NOTIFY:
        m_xkb->LoadKeymap();
        m_refresh.start();
        break;
    case XCB_XKB_STATE_NOTIFY:
        m_refresh.start();
        break;
    default:
        break;
    }
#else
    Q_UNUSED(eventType);
    Q_UNUSED(message);
#endif
    return false; // Qt's own keyboard needs the same events
}

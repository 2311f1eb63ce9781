#include "platform/framework/internal/WaylandKeyLocks.h"

#if SWOOP2_HAVE_WAYLAND

#include "platform/framework/internal/FrameworkWidgets.h"

#include <QGuiApplication>
#include <QPointer>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// A keymap larger than this is not read: the compositor's data decides no allocation unchecked.
constexpr unsigned kMaxKeymapBytes = 4u << 20;

WaylandKeyLocks* Self(void* data) {
    return static_cast<WaylandKeyLocks*>(data);
}

const wl_registry_listener kRegistryListener = {
    [](void* data, wl_registry* registry, std::uint32_t name, const char* interface,
       std::uint32_t version) { Self(data)->OnGlobal(registry, name, interface, version); },
    [](void*, wl_registry*, std::uint32_t) {},
};

const wl_seat_listener kSeatListener = {
    [](void* data, wl_seat*, std::uint32_t capabilities) {
        Self(data)->OnCapabilities(capabilities);
    },
    [](void*, wl_seat*, const char*) {},
};

const wl_keyboard_listener kKeyboardListener = {
    [](void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size) {
        Self(data)->OnKeymap(format, fd, size);
    },
    [](void* data, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {
        Self(data)->OnFocus(true);
    },
    [](void* data, wl_keyboard*, std::uint32_t, wl_surface*) { Self(data)->OnFocus(false); },
    [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
    [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed, std::uint32_t latched,
       std::uint32_t locked,
       std::uint32_t group) { Self(data)->OnModifiers(depressed, latched, locked, group); },
    [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
};

} // namespace

WaylandKeyLocks* WaylandKeyLocks::Instance() {
    // The watcher is a child of the application object and goes with it, before Qt closes the
    // connection.
    static QPointer<WaylandKeyLocks> instance;
    if (instance || qGuiApp == nullptr ||
        QGuiApplication::platformName() != QLatin1String("wayland"))
        return instance;
    QPlatformNativeInterface* native = qGuiApp->platformNativeInterface();
    void* display =
        native != nullptr ? native->nativeResourceForIntegration("wl_display") : nullptr;
    if (display != nullptr)
        instance = new WaylandKeyLocks(display);
    return instance;
}

WaylandKeyLocks::WaylandKeyLocks(void* display) : QObject(qGuiApp) {
    m_context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    // Proxies on the connection's default queue: Qt dispatches their events on this thread.
    m_registry = wl_display_get_registry(static_cast<wl_display*>(display));
    wl_registry_add_listener(m_registry, &kRegistryListener, this);
    wl_display_flush(static_cast<wl_display*>(display));
}

WaylandKeyLocks::~WaylandKeyLocks() {
    ReleaseKeyboard();
    if (m_seat != nullptr)
        wl_seat_destroy(m_seat);
    if (m_registry != nullptr)
        wl_registry_destroy(m_registry);
    if (m_context != nullptr)
        xkb_context_unref(m_context);
}

bool WaylandKeyLocks::IsLit(const char* name) const {
    if (!m_focused || !m_told || m_state == nullptr)
        return false;
    return xkb_state_led_name_is_active(m_state, name) > 0;
}

void WaylandKeyLocks::OnGlobal(wl_registry* registry, unsigned name, const char* interface,
                               unsigned version) {
    if (m_seat != nullptr || std::strcmp(interface, wl_seat_interface.name) != 0)
        return;
    m_seat = static_cast<wl_seat*>(
        wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 5u)));
    wl_seat_add_listener(m_seat, &kSeatListener, this);
}

void WaylandKeyLocks::OnCapabilities(unsigned capabilities) {
    const bool keyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
    if (keyboard && m_keyboard == nullptr) {
        m_keyboard = wl_seat_get_keyboard(m_seat);
        wl_keyboard_add_listener(m_keyboard, &kKeyboardListener, this);
    } else if (!keyboard && m_keyboard != nullptr) {
        ReleaseKeyboard();
        AfxScheduleIdleUpdate();
    }
}

void WaylandKeyLocks::OnKeymap(unsigned format, int fd, unsigned size) {
    xkb_keymap* keymap = nullptr;
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0 && size <= kMaxKeymapBytes &&
        m_context != nullptr) {
        void* map = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (map != MAP_FAILED) {
            const char* text = static_cast<const char*>(map);
            keymap =
                xkb_keymap_new_from_buffer(m_context, text, strnlen(text, size),
                                           XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
            munmap(map, size);
        }
    }
    close(fd);
    if (m_state != nullptr)
        xkb_state_unref(m_state);
    if (m_keymap != nullptr)
        xkb_keymap_unref(m_keymap);
    m_keymap = keymap;
    m_state = keymap != nullptr ? xkb_state_new(keymap) : nullptr;
    // A new keymap comes before its modifiers: until they arrive, nothing is known.
    m_told = false;
}

void WaylandKeyLocks::OnFocus(bool focused) {
    m_focused = focused;
    if (!focused)
        m_told = false;
    AfxScheduleIdleUpdate();
}

void WaylandKeyLocks::OnModifiers(unsigned depressed, unsigned latched, unsigned locked,
                                  unsigned group) {
    if (m_state == nullptr)
        return;
    xkb_state_update_mask(m_state, depressed, latched, locked, 0, 0, group);
    m_told = true;
    AfxScheduleIdleUpdate();
}

void WaylandKeyLocks::ReleaseKeyboard() {
    if (m_keyboard != nullptr) {
        if (wl_keyboard_get_version(m_keyboard) >= WL_KEYBOARD_RELEASE_SINCE_VERSION)
            wl_keyboard_release(m_keyboard);
        else
            wl_keyboard_destroy(m_keyboard);
        m_keyboard = nullptr;
    }
    if (m_state != nullptr)
        xkb_state_unref(m_state);
    if (m_keymap != nullptr)
        xkb_keymap_unref(m_keymap);
    m_state = nullptr;
    m_keymap = nullptr;
    m_focused = false;
    m_told = false;
}

#else

WaylandKeyLocks* WaylandKeyLocks::Instance() {
    return nullptr;
}

bool WaylandKeyLocks::IsLit(const char*) const {
    return false;
}

#endif

#pragma once

// Platform-internal: the lock keys as a Wayland compositor reports them.

#include <QObject>

struct wl_keyboard;
struct wl_registry;
struct wl_seat;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

// A Wayland compositor tells a client the locked modifiers only through the keyboard, and only
// while one of the client's surfaces has the keyboard focus; the lights follow from the
// compositor's keymap. This keeps a keyboard of its own on the application's connection (Qt's
// is not reachable) and answers from what the compositor last said. Without focus, without a
// keyboard or with a keymap that has no such light, the compositor says nothing and the answer
// is off.
class WaylandKeyLocks : public QObject {
public:
    // The watcher of the application's Wayland connection, made on first use; null when the
    // application does not run on Wayland or was built without it.
    static WaylandKeyLocks* Instance();

    ~WaylandKeyLocks() override;

    // Whether the keyboard light of this name ("Caps Lock", "Num Lock", "Scroll Lock") is on.
    bool IsLit(const char* name) const;

    // Called from the Wayland listeners.
    void OnGlobal(wl_registry* registry, unsigned name, const char* interface, unsigned version);
    void OnCapabilities(unsigned capabilities);
    void OnKeymap(unsigned format, int fd, unsigned size);
    void OnFocus(bool focused);
    void OnModifiers(unsigned depressed, unsigned latched, unsigned locked, unsigned group);

private:
    explicit WaylandKeyLocks(void* display);
    void ReleaseKeyboard();

    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    wl_keyboard* m_keyboard = nullptr;
    xkb_context* m_context = nullptr;
    xkb_keymap* m_keymap = nullptr;
    xkb_state* m_state = nullptr;
    bool m_focused = false;
    bool m_told = false;
};

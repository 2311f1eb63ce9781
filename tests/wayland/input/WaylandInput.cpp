// Input under a wlroots compositor, for tests: reads one command a line from standard input
// and goes on once the compositor has taken each one.
//
//   wayland_input WIDTHxHEIGHT
//   move X Y        the pointer to X, Y of the layout, whose size is WIDTHxHEIGHT
//   press [right]   a button down (the left one unless named)
//   release [right] the button up
//   locks [caps] [num]  a keyboard whose locked modifiers are these and no others
//   wait MS         a pause
//   echo TEXT       TEXT on standard output, once every command before it has been taken
//
// One process keeps one virtual pointer for the whole test: a device that came and went would
// take the seat's pointer with it, and with it every client's pointer and any drag in flight.
// The keyboard says its locks directly: a virtual keyboard's keys do not change the
// compositor's modifier state, so pressing Caps Lock locks nothing.

#include "virtual-keyboard-client.h"
#include "virtual-pointer-client.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
    zwp_virtual_keyboard_manager_v1* keyboards = nullptr;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr)
        globals->seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        globals->keyboards = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
}

void OnGlobalRemove(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

std::uint32_t Now() {
    using namespace std::chrono;
    return std::uint32_t(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// A keyboard with the usual US keymap, which names the lights Caps Lock and Num Lock after the
// Lock and NumLock modifiers.
struct Keyboard {
    zwp_virtual_keyboard_v1* keyboard = nullptr;
    xkb_keymap* keymap = nullptr;

    bool Create(Globals& globals) {
        if (globals.keyboards == nullptr || globals.seat == nullptr)
            return false;
        xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        const xkb_rule_names names = {"evdev", "pc105", "us", "", ""};
        keymap = context != nullptr
                     ? xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS)
                     : nullptr;
        if (context != nullptr)
            xkb_context_unref(context);
        if (keymap == nullptr)
            return false;
        char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
        const std::size_t size = std::strlen(text) + 1;
        const int fd = memfd_create("keymap", MFD_CLOEXEC);
        const bool written = fd >= 0 && write(fd, text, size) == ssize_t(size);
        std::free(text);
        if (!written) {
            if (fd >= 0)
                close(fd);
            return false;
        }
        keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(globals.keyboards,
                                                                           globals.seat);
        zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                       std::uint32_t(size));
        close(fd);
        return true;
    }

    std::uint32_t Mask(const char* modifier) const {
        const xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap, modifier);
        return index == XKB_MOD_INVALID ? 0 : 1u << index;
    }
};

} // namespace

int main(int argc, char** argv) {
    unsigned width = 0, height = 0;
    if (argc != 2 || std::sscanf(argv[1], "%ux%u", &width, &height) != 2 || width == 0 ||
        height == 0) {
        std::cerr << "usage: wayland_input WIDTHxHEIGHT < commands\n";
        return 2;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::cerr << "wayland_input: no Wayland display\n";
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &globals);
    wl_display_roundtrip(display);
    if (globals.manager == nullptr) {
        std::cerr << "wayland_input: the compositor offers no virtual pointer\n";
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);

    Keyboard keyboard;
    std::string line;
    int status = 0;
    while (status == 0 && std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command, argument;
        words >> command;
        if (command.empty())
            continue;
        if (command == "move") {
            unsigned x = 0, y = 0;
            if (!(words >> x >> y) || x > width || y > height) {
                std::cerr << "wayland_input: bad move: " << line << '\n';
                status = 2;
                break;
            }
            zwlr_virtual_pointer_v1_motion_absolute(pointer, Now(), x, y, width, height);
        } else if (command == "press" || command == "release") {
            words >> argument;
            const std::uint32_t button = argument == "right" ? BTN_RIGHT : BTN_LEFT;
            zwlr_virtual_pointer_v1_button(pointer, Now(), button,
                                           command == "press" ? WL_POINTER_BUTTON_STATE_PRESSED
                                                              : WL_POINTER_BUTTON_STATE_RELEASED);
        } else if (command == "locks") {
            if (keyboard.keyboard == nullptr && !keyboard.Create(globals)) {
                std::cerr << "wayland_input: the compositor offers no virtual keyboard\n";
                status = 1;
                break;
            }
            std::uint32_t locked = 0;
            while (words >> argument)
                locked |= keyboard.Mask(argument == "caps"  ? XKB_MOD_NAME_CAPS
                                        : argument == "num" ? XKB_MOD_NAME_NUM
                                                            : "");
            zwp_virtual_keyboard_v1_modifiers(keyboard.keyboard, 0, 0, locked, 0);
        } else if (command == "echo") {
            std::getline(words >> std::ws, argument);
            std::cout << argument << std::endl;
            continue;
        } else if (command == "wait") {
            unsigned ms = 0;
            words >> ms;
            std::this_thread::sleep_for(std::chrono::milliseconds(ms));
            continue;
        } else {
            std::cerr << "wayland_input: unknown command: " << line << '\n';
            status = 2;
            break;
        }
        if (command != "locks")
            zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0) {
            std::cerr << "wayland_input: the compositor closed the connection\n";
            status = 1;
        }
    }
    if (keyboard.keyboard != nullptr)
        zwp_virtual_keyboard_v1_destroy(keyboard.keyboard);
    if (keyboard.keymap != nullptr)
        xkb_keymap_unref(keyboard.keymap);
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(globals.manager);
    if (globals.keyboards != nullptr)
        wl_proxy_destroy(reinterpret_cast<wl_proxy*>(globals.keyboards));
    if (globals.seat != nullptr)
        wl_seat_destroy(globals.seat);
    wl_registry_destroy(registry);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return status;
}

// A mouse for tests in a wlroots compositor, which has no input devices of its
// own when it runs headless. It holds a virtual pointer open for as long as it
// runs, and moves and clicks it as told on standard input, one command a line:
//
//   move X Y WIDTH HEIGHT   to device pixel (X, Y) of an output of WIDTH x HEIGHT device pixels
//   press BUTTON            BUTTON is a Linux input code: 272 left, 273 right
//   release BUTTON
//   offers INTERFACE        whether the compositor offers a global of that interface
//
// It prints "ok" once on start and once after each command, when the compositor
// has handled it, and "yes" or "no" to a question. It ends when its input does.

#include "virtual-pointer-client-protocol.h"

#include <wayland-client.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

namespace {

struct Globals {
    zwlr_virtual_pointer_manager_v1 *manager = nullptr;
    std::set<std::string> interfaces;
};

void announce(void *data, wl_registry *registry, std::uint32_t name, const char *interface, std::uint32_t)
{
    auto *globals = static_cast<Globals *>(data);
    globals->interfaces.insert(interface);
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1 *>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}

void forget(void *, wl_registry *, std::uint32_t) {}

const wl_registry_listener registryListener = {announce, forget};

std::uint32_t timestamp()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

int fail(const std::string &message)
{
    std::cerr << "virtualpointer: " << message << '\n';
    return 1;
}

} // namespace

int main()
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return fail("cannot connect to the Wayland display");

    Globals globals;
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &globals);
    wl_display_roundtrip(display);
    zwlr_virtual_pointer_manager_v1 *manager = globals.manager;
    if (!manager)
        return fail("the compositor offers no virtual pointers");
    // No seat named: the compositor gives the pointer to its default seat.
    zwlr_virtual_pointer_v1 *pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr);
    if (wl_display_roundtrip(display) < 0)
        return fail("the compositor refused the virtual pointer");
    std::cout << "ok" << std::endl;

    int status = 0;
    std::string line;
    while (status == 0 && std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        std::uint32_t a = 0, b = 0, c = 0, d = 0;
        words >> command;
        if (command == "offers") {
            std::string interface;
            words >> interface;
            std::cout << (globals.interfaces.count(interface) ? "yes" : "no") << std::endl;
            continue;
        }
        if (command == "move" && words >> a >> b >> c >> d) {
            zwlr_virtual_pointer_v1_motion_absolute(pointer, timestamp(), a, b, c, d);
        } else if ((command == "press" || command == "release") && words >> a) {
            zwlr_virtual_pointer_v1_button(pointer, timestamp(), a,
                                           command == "press" ? WL_POINTER_BUTTON_STATE_PRESSED
                                                              : WL_POINTER_BUTTON_STATE_RELEASED);
        } else {
            status = fail("cannot do \"" + line + "\"");
            break;
        }
        zwlr_virtual_pointer_v1_frame(pointer);
        if (wl_display_roundtrip(display) < 0)
            status = fail("lost the connection to the compositor");
        else
            std::cout << "ok" << std::endl;
    }

    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(manager);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return status;
}

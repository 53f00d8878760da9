// A pointer the tests move on a wlroots compositor whose seat has none: each
// line "DX DY" on stdin moves it by that much, and "moved" on stdout says the
// compositor has handled the move.
#include <wayland-client.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "tests/wayland/virtual-pointer-client-protocol.h"

namespace {

wl_seat* seat = nullptr;
zwlr_virtual_pointer_manager_v1* manager = nullptr;

void global(void*, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    if (std::strcmp(interface, wl_seat_interface.name) == 0) {
        seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}
void globalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener listener{global, globalRemove};

}  // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) return std::fprintf(stderr, "virtual-pointer: no compositor\n"), 1;
    wl_registry_add_listener(wl_display_get_registry(display), &listener, nullptr);
    wl_display_roundtrip(display);
    if (manager == nullptr) return std::fprintf(stderr, "virtual-pointer: no zwlr_virtual_pointer_manager_v1\n"), 1;
    zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("ready\n");
    double dx = 0, dy = 0;
    for (std::uint32_t time = 1; std::scanf("%lf %lf", &dx, &dy) == 2; ++time) {
        zwlr_virtual_pointer_v1_motion(pointer, time, wl_fixed_from_double(dx), wl_fixed_from_double(dy));
        wl_display_roundtrip(display);
        std::printf("moved\n");
    }
    return 0;
}

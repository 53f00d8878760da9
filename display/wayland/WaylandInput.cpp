#include "display/wayland/WaylandInput.h"

#include <unistd.h>
#include <wayland-client.h>

namespace {

WaylandInput& of(void* data) { return *static_cast<WaylandInput*>(data); }

// Keys are not read, so the keymap's descriptor is only closed.
void keymap(void*, wl_keyboard*, std::uint32_t, std::int32_t fd, std::uint32_t) { close(fd); }
void keyboardEnter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}
void keyboardLeave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}
void key(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t state) {
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED) of(data).press();
}
void modifiers(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {}
void repeatInfo(void*, wl_keyboard*, std::int32_t, std::int32_t) {}
const wl_keyboard_listener keyboardListener{keymap, keyboardEnter, keyboardLeave, key, modifiers, repeatInfo};

void pointerEnter(void* data, wl_pointer*, std::uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
    of(data).entered(surface, serial, wl_fixed_to_double(x), wl_fixed_to_double(y));
}
void pointerLeave(void* data, wl_pointer*, std::uint32_t, wl_surface*) { of(data).left(); }
void motion(void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
    of(data).moved(wl_fixed_to_double(x), wl_fixed_to_double(y));
}
void button(void* data, wl_pointer*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t state) {
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) of(data).press();
}
void axis(void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {}
void frame(void*, wl_pointer*) {}
void axisSource(void*, wl_pointer*, std::uint32_t) {}
void axisStop(void*, wl_pointer*, std::uint32_t, std::uint32_t) {}
void axisDiscrete(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
void axisValue120(void*, wl_pointer*, std::uint32_t, std::int32_t) {}
const wl_pointer_listener pointerListener{pointerEnter, pointerLeave, motion,       button,      axis,
                                          frame,        axisSource,   axisStop,     axisDiscrete, axisValue120};

void seatCapabilities(void* data, wl_seat*, std::uint32_t which) { of(data).capabilities(which); }
void seatName(void*, wl_seat*, const char*) {}
const wl_seat_listener seatListener{seatCapabilities, seatName};

}  // namespace

void WaylandInput::release() {
    if (keyboard != nullptr) wl_keyboard_destroy(keyboard);
    if (pointer != nullptr) wl_pointer_destroy(pointer);
    keyboard = nullptr;
    pointer = nullptr;
}

void WaylandInput::listenTo(wl_seat* announced) {
    seat = announced;
    wl_seat_add_listener(seat, &seatListener, this);
}

// A keyboard or a pointer appears when its first device does (a headless
// seat has none until one is added) and goes with the last.
void WaylandInput::capabilities(std::uint32_t which) {
    const bool keys = (which & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (keys && keyboard == nullptr) {
        keyboard = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(keyboard, &keyboardListener, this);
    } else if (!keys && keyboard != nullptr) {
        wl_keyboard_destroy(keyboard);
        keyboard = nullptr;
    }
    const bool points = (which & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (points && pointer == nullptr) {
        pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(pointer, &pointerListener, this);
    } else if (!points && pointer != nullptr) {
        wl_pointer_destroy(pointer);
        pointer = nullptr;
        left();
    }
}

void WaylandInput::entered(wl_surface* surface, std::uint32_t serial, double x, double y) {
    wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
    over = surface;
    listener.pointerAt(surface, x, y);
}

void WaylandInput::moved(double x, double y) {
    if (over != nullptr) listener.pointerAt(over, x, y);
}

// The seat's keyboard and pointer, as they come and go with the seat's
// devices, told to the host in the run's terms: a key or a button pressed,
// the pointer over one of its surfaces. The cursor is hidden over them all.
#pragma once

#include <cstdint>

struct wl_keyboard;
struct wl_pointer;
struct wl_seat;
struct wl_surface;

class WaylandInput {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void pressed() = 0;
        // x and y in the surface's own coordinates.
        virtual void pointerAt(wl_surface* surface, double x, double y) = 0;
        virtual void pointerLeft() = 0;
    };

    explicit WaylandInput(Listener& listener) : listener(listener) {}
    ~WaylandInput() { release(); }

    WaylandInput(const WaylandInput&) = delete;
    WaylandInput& operator=(const WaylandInput&) = delete;

    void listenTo(wl_seat* seat);
    // Lets go of the devices; the connection must still be open.
    void release();

    // The listeners' calls.
    void capabilities(std::uint32_t which);
    void entered(wl_surface* surface, std::uint32_t serial, double x, double y);
    void moved(double x, double y);
    void left() { over = nullptr; listener.pointerLeft(); }
    void press() { listener.pressed(); }

private:
    Listener& listener;
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    wl_surface* over = nullptr;
};

// The connection to a Wayland compositor and the globals a run uses: the
// compositor, the shell's windows, the seat's input, and every output with
// where it lies and how large and fast it is. Outputs come and go while the
// run goes on; the host hears of each, and of the input, through its
// listeners.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "display/wayland/WaylandInput.h"

struct wl_compositor;
struct wl_display;
struct wl_output;
struct wl_registry;
struct wl_seat;
struct xdg_wm_base;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

class WaylandDisplay;

struct WaylandOutput {
    WaylandDisplay* display = nullptr;
    std::uint32_t name = 0;  // the global's, which names the output for as long as it exists
    wl_output* output = nullptr;
    zxdg_output_v1* placement = nullptr;
    std::int32_t x = 0, y = 0;  // its place in the compositor's space, where known
    std::int32_t width = 0, height = 0;
    std::int32_t milliHertz = 0;  // 0 when the compositor does not say
    std::int32_t scale = 1;
    bool described = false;  // every property sent at least once
};

class WaylandDisplay {
public:
    class Listener {
    public:
        virtual ~Listener() = default;
        virtual void outputDescribed(WaylandOutput& output) = 0;
        virtual void outputGone(WaylandOutput& output) = 0;
    };

    // Connects to $WAYLAND_DISPLAY and learns the globals. Throws Exception.
    WaylandDisplay(Listener& listener, WaylandInput::Listener& inputListener);
    ~WaylandDisplay();

    WaylandDisplay(const WaylandDisplay&) = delete;
    WaylandDisplay& operator=(const WaylandDisplay&) = delete;

    // Handles what the compositor has sent, never waiting. Throws Exception
    // once the connection is lost.
    void dispatch();
    // Every request so far answered and its events handled. Throws as above.
    void roundtrip();
    // Sleeps until the compositor sends something or wakeFd can be read or
    // milliseconds pass (no limit when negative); at once when events wait.
    void wait(int milliseconds, int wakeFd);

    const std::vector<std::unique_ptr<WaylandOutput>>& outputs() const { return known; }

    wl_display* const connection;
    wl_compositor* compositor = nullptr;
    xdg_wm_base* shell = nullptr;

    // The registry's callbacks.
    void announce(std::uint32_t name, const char* interface, std::uint32_t version);
    void remove(std::uint32_t name);
    void described(WaylandOutput& output);

private:
    void checkConnection();
    void disconnect();

    Listener& listener;
    WaylandInput input;
    wl_registry* registry = nullptr;
    zxdg_output_manager_v1* placements = nullptr;
    wl_seat* seat = nullptr;
    std::vector<std::unique_ptr<WaylandOutput>> known;
};

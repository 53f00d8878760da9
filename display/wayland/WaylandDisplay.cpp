// The registry's and the outputs' listeners record what they hear and pass
// it on; the host acts on it after each dispatch, never inside a callback.
#include "display/wayland/WaylandDisplay.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>

#include "display/unix/ConnectionWait.h"
#include "display/wayland/xdg-output-unstable-v1-client-protocol.h"
#include "display/wayland/xdg-shell-client-protocol.h"
#include "shell/Exception.h"

namespace {

WaylandOutput& outputOf(void* data) { return *static_cast<WaylandOutput*>(data); }

// wl_output: sizes, rates and the scale, each description closed by done.
void geometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t, const char*,
              const char*, std::int32_t) {}
void mode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height, std::int32_t refresh) {
    if ((flags & WL_OUTPUT_MODE_CURRENT) == 0) return;
    WaylandOutput& output = outputOf(data);
    output.width = width;
    output.height = height;
    output.milliHertz = refresh;
}
void outputDone(void* data, wl_output*) { outputOf(data).display->described(outputOf(data)); }
void scale(void* data, wl_output*, std::int32_t factor) { outputOf(data).scale = std::max(1, factor); }
void outputName(void*, wl_output*, const char*) {}
void outputDescription(void*, wl_output*, const char*) {}
const wl_output_listener outputListener{geometry, mode, outputDone, scale, outputName, outputDescription};

// xdg-output: the output's place in the compositor's space, which wl_output
// leaves out; it places the pointer across outputs.
void logicalPosition(void* data, zxdg_output_v1*, std::int32_t x, std::int32_t y) {
    outputOf(data).x = x;
    outputOf(data).y = y;
}
void logicalSize(void*, zxdg_output_v1*, std::int32_t, std::int32_t) {}
void placementDone(void*, zxdg_output_v1*) {}
void placementName(void*, zxdg_output_v1*, const char*) {}
void placementDescription(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener placementListener{logicalPosition, logicalSize, placementDone, placementName,
                                                placementDescription};

void ping(void*, xdg_wm_base* shell, std::uint32_t serial) { xdg_wm_base_pong(shell, serial); }
const xdg_wm_base_listener shellListener{ping};

void global(void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version) {
    static_cast<WaylandDisplay*>(data)->announce(name, interface, version);
}
void globalRemove(void* data, wl_registry*, std::uint32_t name) { static_cast<WaylandDisplay*>(data)->remove(name); }
const wl_registry_listener registryListener{global, globalRemove};

template <typename Proxy>
Proxy* bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface, std::uint32_t offered,
            std::uint32_t wanted) {
    return static_cast<Proxy*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

}  // namespace

WaylandDisplay::WaylandDisplay(Listener& listener, WaylandInput::Listener& inputListener)
    : connection(wl_display_connect(nullptr)), listener(listener), input(inputListener) {
    if (connection == nullptr) throw Exception("cannot connect to the Wayland compositor named in $WAYLAND_DISPLAY");
    registry = wl_display_get_registry(connection);
    wl_registry_add_listener(registry, &registryListener, this);
    // The globals, then what the outputs and the shell send when bound.
    if (wl_display_roundtrip(connection) < 0 || wl_display_roundtrip(connection) < 0) {
        disconnect();
        throw Exception("lost the connection to the Wayland compositor");
    }
    if (compositor == nullptr || shell == nullptr) {
        disconnect();
        throw Exception("the Wayland compositor offers no desktop windows (xdg-shell)");
    }
    endCrashesOnLostConnection(wl_display_get_fd(connection), 1);
}

WaylandDisplay::~WaylandDisplay() { disconnect(); }

// Every proxy goes before the connection does, whose end frees them all.
void WaylandDisplay::disconnect() {
    endCrashesOnLostConnection(-1, 1);
    input.release();
    for (const auto& output : known) {
        if (output->placement != nullptr) zxdg_output_v1_destroy(output->placement);
        wl_output_destroy(output->output);
    }
    known.clear();
    if (placements != nullptr) zxdg_output_manager_v1_destroy(placements);
    if (seat != nullptr) wl_seat_destroy(seat);
    if (shell != nullptr) xdg_wm_base_destroy(shell);
    if (compositor != nullptr) wl_compositor_destroy(compositor);
    wl_registry_destroy(registry);
    wl_display_disconnect(connection);
}

void WaylandDisplay::announce(std::uint32_t name, const char* interface, std::uint32_t version) {
    const auto is = [interface](const wl_interface& which) { return std::strcmp(interface, which.name) == 0; };
    if (is(wl_compositor_interface)) {
        compositor = bind<wl_compositor>(registry, name, wl_compositor_interface, version, 4);
    } else if (is(xdg_wm_base_interface)) {
        shell = bind<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, 1);
        xdg_wm_base_add_listener(shell, &shellListener, this);
    } else if (is(wl_seat_interface) && seat == nullptr) {
        seat = bind<wl_seat>(registry, name, wl_seat_interface, version, 5);
        input.listenTo(seat);
    } else if (is(zxdg_output_manager_v1_interface)) {
        placements = bind<zxdg_output_manager_v1>(registry, name, zxdg_output_manager_v1_interface, version, 1);
        for (const auto& output : known) {
            output->placement = zxdg_output_manager_v1_get_xdg_output(placements, output->output);
            zxdg_output_v1_add_listener(output->placement, &placementListener, output.get());
        }
    } else if (is(wl_output_interface)) {
        auto output = std::make_unique<WaylandOutput>();
        output->display = this;
        output->name = name;
        output->output = bind<wl_output>(registry, name, wl_output_interface, version, 3);
        wl_output_add_listener(output->output, &outputListener, output.get());
        if (placements != nullptr) {
            output->placement = zxdg_output_manager_v1_get_xdg_output(placements, output->output);
            zxdg_output_v1_add_listener(output->placement, &placementListener, output.get());
        }
        known.push_back(std::move(output));
    }
}

void WaylandDisplay::described(WaylandOutput& output) {
    output.described = true;
    listener.outputDescribed(output);
}

void WaylandDisplay::remove(std::uint32_t name) {
    const auto gone = std::find_if(known.begin(), known.end(), [name](const auto& o) { return o->name == name; });
    if (gone == known.end()) return;
    listener.outputGone(**gone);
    if ((*gone)->placement != nullptr) zxdg_output_v1_destroy((*gone)->placement);
    wl_output_destroy((*gone)->output);
    known.erase(gone);
}

void WaylandDisplay::checkConnection() {
    if (wl_display_get_error(connection) != 0) throw Exception("lost the connection to the Wayland compositor");
}

void WaylandDisplay::dispatch() {
    // What has arrived is read without waiting, then handled.
    if (wl_display_prepare_read(connection) == 0) {
        wl_display_flush(connection);
        if (waitOnConnection(wl_display_get_fd(connection), -1, 0)) {
            wl_display_read_events(connection);
        } else {
            wl_display_cancel_read(connection);
        }
    }
    wl_display_dispatch_pending(connection);
    checkConnection();
}

void WaylandDisplay::roundtrip() {
    wl_display_roundtrip(connection);
    checkConnection();
}

void WaylandDisplay::wait(int milliseconds, int wakeFd) {
    // Events already read but not handled: the next dispatch takes them.
    if (wl_display_prepare_read(connection) != 0) return;
    wl_display_flush(connection);
    waitOnConnection(wl_display_get_fd(connection), wakeFd, milliseconds);
    wl_display_cancel_read(connection);
}

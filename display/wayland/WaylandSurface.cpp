#include "display/wayland/WaylandSurface.h"

#include <wayland-client.h>
#include <wayland-egl.h>

#include "display/wayland/xdg-shell-client-protocol.h"

namespace {

WaylandSurface& of(void* data) { return *static_cast<WaylandSurface*>(data); }

void toplevelConfigure(void* data, xdg_toplevel*, std::int32_t width, std::int32_t height, wl_array*) {
    of(data).configure(width, height);
}
void toplevelClose(void* data, xdg_toplevel*) { of(data).closed = true; }
void toplevelBounds(void*, xdg_toplevel*, std::int32_t, std::int32_t) {}
void toplevelCapabilities(void*, xdg_toplevel*, wl_array*) {}
const xdg_toplevel_listener toplevelListener{toplevelConfigure, toplevelClose, toplevelBounds, toplevelCapabilities};

void surfaceConfigure(void* data, xdg_surface*, std::uint32_t serial) { of(data).configured(serial); }
const xdg_surface_listener surfaceListener{surfaceConfigure};

void frameDone(void* data, wl_callback*, std::uint32_t) { of(data).frameDone(); }
const wl_callback_listener frameListener{frameDone};

}  // namespace

WaylandSurface::WaylandSurface(WaylandDisplay& display, EglContext& egl, WaylandOutput* output, std::int32_t width,
                               std::int32_t height)
    : output(output),
      surface(wl_compositor_create_surface(display.compositor)),
      egl(egl),
      wantedWidth(width),
      wantedHeight(height) {
    shellSurface = xdg_wm_base_get_xdg_surface(display.shell, surface);
    xdg_surface_add_listener(shellSurface, &surfaceListener, this);
    toplevel = xdg_surface_get_toplevel(shellSurface);
    xdg_toplevel_add_listener(toplevel, &toplevelListener, this);
    xdg_toplevel_set_title(toplevel, "LumraSaver");
    xdg_toplevel_set_app_id(toplevel, "lumra");
    if (output != nullptr) {
        // Drawn at the output's own pixels, however the compositor scales it.
        wl_surface_set_buffer_scale(surface, output->scale);
        xdg_toplevel_set_fullscreen(toplevel, output->output);
    }
    wl_surface_commit(surface);
}

WaylandSurface::~WaylandSurface() {
    if (frame != nullptr) wl_callback_destroy(frame);
    if (eglSurface != EGL_NO_SURFACE) egl.destroySurface(eglSurface);
    if (window != nullptr) wl_egl_window_destroy(window);
    xdg_toplevel_destroy(toplevel);
    xdg_surface_destroy(shellSurface);
    wl_surface_destroy(surface);
}

// 0 by 0 leaves the size to the window: the output's, or its own.
void WaylandSurface::configure(std::int32_t logicalWidth, std::int32_t logicalHeight) {
    const std::int32_t scale = output != nullptr ? output->scale : 1;
    if (logicalWidth > 0 && logicalHeight > 0) {
        wantedWidth = logicalWidth * scale;
        wantedHeight = logicalHeight * scale;
    } else if (output != nullptr && output->width > 0 && output->height > 0) {
        wantedWidth = output->width;
        wantedHeight = output->height;
    }
}

// The next commit, the next frame's swap, carries the new size.
void WaylandSurface::configured(std::uint32_t serial) {
    xdg_surface_ack_configure(shellSurface, serial);
    sizeOwed = true;
}

bool WaylandSurface::takeConfiguredSize() {
    if (!sizeOwed) return false;
    sizeOwed = false;
    const bool changed = !drawable() || wantedWidth != width || wantedHeight != height;
    width = wantedWidth;
    height = wantedHeight;
    if (window == nullptr) {
        window = wl_egl_window_create(surface, width, height);
        eglSurface = egl.createSurface(window);
    } else if (changed) {
        wl_egl_window_resize(window, width, height, 0, 0);
    }
    return changed;
}

void WaylandSurface::present() {
    frame = wl_surface_frame(surface);
    wl_callback_add_listener(frame, &frameListener, this);
    egl.swap(eglSurface);
}

void WaylandSurface::frameDone() {
    wl_callback_destroy(frame);
    frame = nullptr;
}

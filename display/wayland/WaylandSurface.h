// One window of a run on Wayland: fullscreen on an output for -root, or a
// window of its own, with its EGL surface, the size the compositor last
// configured and the frame callback that says when it may draw again.
#pragma once

#include <EGL/egl.h>

#include <cstdint>

#include "display/wayland/EglContext.h"
#include "display/wayland/WaylandDisplay.h"

struct wl_callback;
struct wl_egl_window;
struct wl_surface;
struct xdg_surface;
struct xdg_toplevel;

class WaylandSurface {
public:
    // Fullscreen on output, or, output null, a window of its own that opens
    // at width by height. Drawable once the compositor has configured it.
    WaylandSurface(WaylandDisplay& display, EglContext& egl, WaylandOutput* output, std::int32_t width,
                   std::int32_t height);
    ~WaylandSurface();

    WaylandSurface(const WaylandSurface&) = delete;
    WaylandSurface& operator=(const WaylandSurface&) = delete;

    // Puts the size last configured into effect: true when the drawable came
    // to be or changed size. Throws Exception when EGL refuses the window.
    bool takeConfiguredSize();
    bool drawable() const { return eglSurface != EGL_NO_SURFACE; }
    // Drawable, and the compositor has asked for a frame since the last one.
    bool ready() const { return drawable() && frame == nullptr; }
    void makeCurrent() { egl.makeCurrent(eglSurface); }
    void present();

    WaylandOutput* const output;
    wl_surface* const surface;
    // The drawable's size in pixels.
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool closed = false;  // the compositor asked it to close

    // The listeners' calls.
    void configure(std::int32_t logicalWidth, std::int32_t logicalHeight);
    void configured(std::uint32_t serial);
    void frameDone();

private:
    EglContext& egl;
    xdg_surface* shellSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    wl_egl_window* window = nullptr;
    EGLSurface eglSurface = EGL_NO_SURFACE;
    wl_callback* frame = nullptr;
    std::int32_t wantedWidth;
    std::int32_t wantedHeight;
    bool sizeOwed = false;
};

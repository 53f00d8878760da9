// Desktop OpenGL through EGL on a Wayland connection: one context, made
// current on each output's surface in turn, and swaps that never wait for the
// compositor (frames follow its frame callbacks instead).
#pragma once

#include <EGL/egl.h>

struct wl_display;
struct wl_egl_window;

class EglContext {
public:
    // Throws Exception: no EGL on the connection, or no desktop OpenGL context.
    explicit EglContext(wl_display* connection);
    ~EglContext();

    EglContext(const EglContext&) = delete;
    EglContext& operator=(const EglContext&) = delete;

    // Throws Exception when EGL refuses the window.
    EGLSurface createSurface(wl_egl_window* window);
    void destroySurface(EGLSurface surface);
    // EGL_NO_SURFACE: current on no surface, for work that draws nothing.
    void makeCurrent(EGLSurface surface);
    void swap(EGLSurface surface);

private:
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLConfig config = nullptr;
    EGLContext context = EGL_NO_CONTEXT;
};

#include "display/wayland/EglContext.h"

#include <EGL/eglext.h>
#include <wayland-egl.h>

#include "shell/Exception.h"

namespace {

EGLDisplay displayOf(wl_display* connection) {
    const auto platformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (platformDisplay != nullptr) return platformDisplay(EGL_PLATFORM_WAYLAND_EXT, connection, nullptr);
    return eglGetDisplay(reinterpret_cast<EGLNativeDisplayType>(connection));
}

// No alpha: a compositor would blend a buffer that has it with what lies
// under the surface, and the picture's alpha is the particles', not a window's.
EGLConfig opaqueConfig(EGLDisplay display) {
    const EGLint wanted[] = {EGL_SURFACE_TYPE, EGL_WINDOW_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_RED_SIZE, 1,
                             EGL_GREEN_SIZE,   1,              EGL_BLUE_SIZE,       1,              EGL_NONE};
    EGLConfig configs[64];
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, configs, 64, &count)) return nullptr;
    for (EGLint i = 0; i < count; ++i) {
        EGLint alpha = -1;
        if (eglGetConfigAttrib(display, configs[i], EGL_ALPHA_SIZE, &alpha) && alpha == 0) return configs[i];
    }
    return nullptr;
}

}  // namespace

EglContext::EglContext(wl_display* connection) {
    display = displayOf(connection);
    EGLint major = 0;
    EGLint minor = 0;
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, &major, &minor)) {
        throw Exception("no EGL on this Wayland compositor's connection");
    }
    config = opaqueConfig(display);
    if (!eglBindAPI(EGL_OPENGL_API) || config == nullptr ||
        (context = eglCreateContext(display, config, EGL_NO_CONTEXT, nullptr)) == EGL_NO_CONTEXT) {
        eglTerminate(display);
        throw Exception("EGL offers no desktop OpenGL context on an opaque window here");
    }
}

EglContext::~EglContext() {
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    eglDestroyContext(display, context);
    eglTerminate(display);
}

EGLSurface EglContext::createSurface(wl_egl_window* window) {
    const EGLSurface surface =
        eglCreateWindowSurface(display, config, reinterpret_cast<EGLNativeWindowType>(window), nullptr);
    if (surface == EGL_NO_SURFACE) throw Exception("EGL cannot draw into a Wayland surface here");
    return surface;
}

void EglContext::destroySurface(EGLSurface surface) {
    if (eglGetCurrentSurface(EGL_DRAW) == surface) makeCurrent(EGL_NO_SURFACE);
    eglDestroySurface(display, surface);
}

void EglContext::makeCurrent(EGLSurface surface) {
    if (eglGetCurrentSurface(EGL_DRAW) == surface && eglGetCurrentContext() == context) return;
    eglMakeCurrent(display, surface, surface, context);
    // The swap interval belongs to the surface: none ever waits, as a
    // hidden one would wait for as long as it stays hidden.
    if (surface != EGL_NO_SURFACE) eglSwapInterval(display, 0);
}

void EglContext::swap(EGLSurface surface) { eglSwapBuffers(display, surface); }

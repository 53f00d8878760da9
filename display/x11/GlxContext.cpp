#include "display/x11/GlxContext.h"

// The program's own headers come first: Xlib's macros would break them.
#include "shell/Exception.h"

#include <GL/glx.h>

#include <cstring>

GlxContext::GlxContext(Display* display, XVisualInfo* visual, Window window) : display(display), window(window) {
    GLXContext created = glXCreateContext(display, visual, nullptr, True);
    if (created == nullptr) throw Exception("cannot create an OpenGL context");
    context = created;
    if (!glXMakeCurrent(display, window, created)) {
        glXDestroyContext(display, created);
        throw Exception("cannot make the OpenGL context current");
    }
    syncSwapsToTheDisplay();
}

GlxContext::~GlxContext() {
    glXMakeCurrent(display, None, nullptr);
    glXDestroyContext(display, static_cast<GLXContext>(context));
}

void GlxContext::swap() { glXSwapBuffers(display, window); }

// Where the driver can, each swap waits for the display; the pacer then adds
// no wait of its own, since it measures time rather than asking which
// extension is there.
void GlxContext::syncSwapsToTheDisplay() {
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    const auto has = [extensions](const char* name) {
        const std::size_t length = std::strlen(name);
        for (const char* at = extensions; at != nullptr && (at = std::strstr(at, name)) != nullptr; at += length) {
            if (at[length] == ' ' || at[length] == '\0') return true;
        }
        return false;
    };
    if (has("GLX_EXT_swap_control")) {
        using SwapIntervalExt = void (*)(Display*, GLXDrawable, int);
        const auto set = reinterpret_cast<SwapIntervalExt>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (set != nullptr) set(display, window, 1);
    } else if (has("GLX_MESA_swap_control")) {
        using SwapIntervalMesa = int (*)(unsigned int);
        const auto set = reinterpret_cast<SwapIntervalMesa>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (set != nullptr) set(1);
    }
}

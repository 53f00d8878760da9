// The OpenGL context of a run on X, current on its window from construction
// to destruction, with each swap waiting for the display where the driver can.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

class GlxContext {
public:
    // Throws Exception when the context cannot be made or made current.
    GlxContext(Display* display, XVisualInfo* visual, Window window);
    ~GlxContext();

    GlxContext(const GlxContext&) = delete;
    GlxContext& operator=(const GlxContext&) = delete;

    void swap();

private:
    void syncSwapsToTheDisplay();

    Display* display;
    Window window;
    void* context = nullptr;  // GLXContext
};

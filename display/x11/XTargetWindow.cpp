// Input is the daemon's in -root and -window-id: there the program selects
// only structure and visibility events on the window it is given, which any
// number of clients may select, and never hears a key.
#include "display/x11/XTargetWindow.h"

// The program's own headers come first: Xlib's macros would break them.
#include "shell/Exception.h"

#include <GL/glx.h>

#include <cstdlib>

namespace {

constexpr int ownWidth = 800;
constexpr int ownHeight = 600;

bool drawableWithGl(Display* display, XVisualInfo* visual) {
    int useGl = 0;
    int rgba = 0;
    int doubleBuffered = 0;
    return glXGetConfig(display, visual, GLX_USE_GL, &useGl) == 0 && useGl &&
           glXGetConfig(display, visual, GLX_RGBA, &rgba) == 0 && rgba &&
           glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffered) == 0 && doubleBuffered;
}

}  // namespace

XTargetWindow::XTargetWindow(XConnection& connection, const HackOptions& options) : connection(connection) {
    switch (options.target) {
    case HackTarget::OwnWindow:
        createOwn();
        break;
    case HackTarget::WindowId:
        adopt(options.windowId);
        break;
    case HackTarget::Root: {
        followsMonitors = true;
        Window given = connection.root;
        const char* named = std::getenv("XSCREENSAVER_WINDOW");
        if (named != nullptr && *named != '\0' && !parseWindowId(named, given)) {
            throw Exception("XSCREENSAVER_WINDOW does not hold a window id");
        }
        adopt(given);
        break;
    }
    }
}

XTargetWindow::~XTargetWindow() {
    Display* display = connection.display;
    if (visual != nullptr) XFree(visual);
    if (own && window != 0) XDestroyWindow(display, window);
    if (colormap != 0) XFreeColormap(display, colormap);
}

void XTargetWindow::createOwn() {
    Display* display = connection.display;
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1, None};
    visual = glXChooseVisual(display, DefaultScreen(display), attributes);
    if (visual == nullptr) {
        throw Exception("no usable visual: the X server offers no double-buffered RGBA visual for OpenGL");
    }
    colormap = XCreateColormap(display, connection.root, visual->visual, AllocNone);
    XSetWindowAttributes settings{};
    settings.colormap = colormap;
    settings.background_pixel = BlackPixel(display, DefaultScreen(display));
    settings.event_mask = KeyPressMask | ButtonPressMask | StructureNotifyMask | VisibilityChangeMask;
    window = XCreateWindow(display, connection.root, 0, 0, ownWidth, ownHeight, 0, visual->depth, InputOutput,
                           visual->visual, CWColormap | CWBackPixel | CWEventMask, &settings);
    own = true;
    XStoreName(display, window, "LumraSaver");
    XClassHint hint{const_cast<char*>("lumra"), const_cast<char*>("LumraSaver")};
    XSetClassHint(display, window, &hint);
    deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XMapRaised(display, window);
}

void XTargetWindow::adopt(Window given) {
    Display* display = connection.display;
    connection.watch(given);
    XWindowAttributes attributes{};
    const Status found = XGetWindowAttributes(display, given, &attributes);
    XSync(display, False);
    if (found == 0 || connection.watchedWindowGone()) throw Exception("the window to draw into does not exist");
    // An input-only window has no pixels at all, so nothing drawn could ever show.
    if (attributes.c_class == InputOnly) throw Exception("the window to draw into is input-only: it shows nothing");
    window = given;

    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    visual = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
    if (visual == nullptr || !drawableWithGl(display, visual)) {
        if (visual != nullptr) XFree(visual);
        visual = nullptr;
        throw Exception("no usable visual: the window's visual has no double-buffered RGBA OpenGL");
    }
    XSelectInput(display, window, StructureNotifyMask | VisibilityChangeMask);
    // Monitors added, removed or moved, and a new screen size, reach clients
    // as a ConfigureNotify of the root window; RandR sends no event of its
    // own for a changed monitor.
    if (followsMonitors && window != connection.root) XSelectInput(display, connection.root, StructureNotifyMask);
}

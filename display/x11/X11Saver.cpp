// The X11 and GLX side of a drawing run. Input is the daemon's in -root and
// -window-id: there the program selects only structure and visibility events
// on the window it is given, which any number of clients may select, and
// never ends on input.
#include "display/x11/X11Saver.h"

// The program's own headers come first: Xlib's macros would break them.
#include "display/CloseRules.h"
#include "display/x11/MonotonicClock.h"
#include "display/x11/WindowLayout.h"
#include "resources/GlowBitmap.h"
#include "shell/Exception.h"
#include "shell/RunMode.h"

#include <GL/glx.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "display/x11/MonitorList.h"

namespace {

constexpr int ownWidth = 800;
constexpr int ownHeight = 600;

// A window handed over may be destroyed at any moment, and the next request
// that names it fails. That is the run's end, not the program's: Xlib's
// default handler would exit with 1.
Window watchedWindow = 0;
bool watchedWindowGone = false;

int recordError(Display*, XErrorEvent* error) {
    if (watchedWindow != 0 && error->resourceid == watchedWindow) watchedWindowGone = true;
    return 0;
}

// The server went away (the session ended, or the daemon's display closed):
// nothing is left to draw on or to clean up there. Exiting normally would run
// the GL driver's exit handlers against the dead connection.
int connectionLost(Display*) { _exit(0); }

double steadySeconds() { return static_cast<double>(monotonicClock().counter()) * 1e-9; }

XVisualInfo* asVisual(void* info) { return static_cast<XVisualInfo*>(info); }

// Only the close rules of the own window are asked, and only about events
// that carry no position.
class NoCursor : public CursorSource {
public:
    bool cursorPosition(ScreenPoint&) override { return false; }
};

bool drawableWithGl(Display* display, XVisualInfo* visual) {
    int useGl = 0;
    int rgba = 0;
    int doubleBuffered = 0;
    return glXGetConfig(display, visual, GLX_USE_GL, &useGl) == 0 && useGl &&
           glXGetConfig(display, visual, GLX_RGBA, &rgba) == 0 && rgba &&
           glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &doubleBuffered) == 0 && doubleBuffered;
}

}  // namespace

X11Saver::X11Saver(const HackOptions& options) : timer(monotonicClock()) {
    try {
        openDisplay(options);
        switch (options.target) {
        case HackTarget::OwnWindow:
            createOwnWindow();
            break;
        case HackTarget::WindowId:
            adoptWindow(options.windowId);
            break;
        case HackTarget::Root: {
            followMonitors = true;
            Window given = root;
            const char* named = std::getenv("XSCREENSAVER_WINDOW");
            if (named != nullptr && *named != '\0' && !parseWindowId(named, given)) {
                throw Exception("XSCREENSAVER_WINDOW does not hold a window id");
            }
            adoptWindow(given);
            break;
        }
        }
        createContext();
        pacer.setRefreshRate(refreshRate(display, root));
        // The very bitmap the Windows build generates into its resources, by
        // the same generator code, so both programs show the same pixels.
        glowFile = glow::makeGlowBitmapFile();
        seed = monotonicClock().milliseconds();
        timer.start();
        relayout();
    } catch (...) {
        release();
        throw;
    }
}

X11Saver::~X11Saver() { release(); }

void X11Saver::openDisplay(const HackOptions& options) {
    XSetErrorHandler(recordError);
    XSetIOErrorHandler(connectionLost);
    display = XOpenDisplay(options.display.empty() ? nullptr : options.display.c_str());
    if (display == nullptr) throw Exception("cannot open the X display");
    int errorBase = 0;
    int eventBase = 0;
    if (!glXQueryExtension(display, &errorBase, &eventBase)) {
        throw Exception("the X server has no GLX extension, so OpenGL cannot draw there");
    }
    root = DefaultRootWindow(display);
}

void X11Saver::createOwnWindow() {
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
    if (visual == nullptr) {
        throw Exception("no usable visual: the X server offers no double-buffered RGBA visual for OpenGL");
    }
    visualInfo = visual;
    colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    XSetWindowAttributes settings{};
    settings.colormap = colormap;
    settings.background_pixel = BlackPixel(display, DefaultScreen(display));
    settings.event_mask = KeyPressMask | ButtonPressMask | StructureNotifyMask | VisibilityChangeMask;
    target = XCreateWindow(display, root, 0, 0, ownWidth, ownHeight, 0, visual->depth, InputOutput, visual->visual,
                           CWColormap | CWBackPixel | CWEventMask, &settings);
    ownWindow = true;
    XStoreName(display, target, "LumraSaver");
    XClassHint hint{const_cast<char*>("lumra"), const_cast<char*>("LumraSaver")};
    XSetClassHint(display, target, &hint);
    deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, target, &deleteWindow, 1);
    XMapRaised(display, target);
}

void X11Saver::adoptWindow(unsigned long window) {
    watchedWindow = window;
    watchedWindowGone = false;
    XWindowAttributes attributes{};
    const Status found = XGetWindowAttributes(display, window, &attributes);
    XSync(display, False);
    if (found == 0 || watchedWindowGone) throw Exception("the window to draw into does not exist");
    target = window;

    XVisualInfo wanted{};
    wanted.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
    if (visual == nullptr || !drawableWithGl(display, visual)) {
        if (visual != nullptr) XFree(visual);
        throw Exception("no usable visual: the window's visual has no double-buffered RGBA OpenGL");
    }
    visualInfo = visual;
    XSelectInput(display, target, StructureNotifyMask | VisibilityChangeMask);
    if (followMonitors) {
        // Monitors added, removed or moved, and a new screen size, reach
        // clients as a ConfigureNotify of the root window; RandR sends no
        // event of its own for a changed monitor.
        if (target != root) XSelectInput(display, root, StructureNotifyMask);
    }
}

void X11Saver::createContext() {
    GLXContext created = glXCreateContext(display, asVisual(visualInfo), nullptr, True);
    if (created == nullptr) throw Exception("cannot create an OpenGL context");
    context = created;
    if (!glXMakeCurrent(display, target, created)) throw Exception("cannot make the OpenGL context current");
    syncSwapsToTheDisplay();
}

// Where the driver can, each swap waits for the display; the pacer then adds
// no wait of its own, since it measures time rather than asking which
// extension is there.
void X11Saver::syncSwapsToTheDisplay() {
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
        if (set != nullptr) set(display, target, 1);
    } else if (has("GLX_MESA_swap_control")) {
        using SwapIntervalMesa = int (*)(unsigned int);
        const auto set = reinterpret_cast<SwapIntervalMesa>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (set != nullptr) set(1);
    }
}

// The window's size and the monitors it covers, read afresh; the scenes
// decide which pictures stay.
void X11Saver::relayout() {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, target, &attributes) == 0) return;
    if (followMonitors) {
        int x = 0;
        int y = 0;
        Window child = 0;
        XTranslateCoordinates(display, target, root, 0, 0, &x, &y, &child);
        const MonitorList monitors = listMonitors(display, root);
        layout = layoutInWindow({x, y, x + attributes.width, y + attributes.height}, monitors.monitors, monitors.count);
    } else {
        layout = wholeWindow(attributes.width, attributes.height);
    }
    for (std::size_t i = 0; i < layout.count; ++i) {
        layout.viewports[i].height = Scene::usableHeight(layout.viewports[i].height);
    }
    const TextureImage glowImage{glow::imageSize, glow::imageSize,
                                 glowFile.data() + glow::fileHeaderBytes + glow::infoHeaderBytes};
    if (scenes) {
        scenes->relayout(&glowImage, nullptr, layout, timer.elapsedSecondsPrecise());
    } else {
        scenes = std::make_unique<MonitorScenes>(&glowImage, nullptr, seed, layout);
    }
}

void X11Saver::handle(const XEvent& event) {
    if (followMonitors && event.type == ConfigureNotify && event.xconfigure.window == root) {
        relayout();
        return;
    }
    if (event.xany.window != target) return;
    SaverEvent saverEvent = SaverEvent::Other;
    switch (event.type) {
    case ConfigureNotify:
        relayout();
        return;
    case DestroyNotify:
        ending = true;
        return;
    case UnmapNotify:
        pacer.observe(SaverEvent::HostHidden);
        return;
    case MapNotify:
        pacer.observe(SaverEvent::HostShown);
        return;
    case VisibilityNotify:
        pacer.observe(event.xvisibility.state == VisibilityFullyObscured ? SaverEvent::HostHidden
                                                                         : SaverEvent::HostShown);
        return;
    case KeyPress:
    case ButtonPress:
        saverEvent = SaverEvent::KeyOrButton;
        break;
    case ClientMessage:
        if (static_cast<Atom>(event.xclient.data.l[0]) != deleteWindow) return;
        saverEvent = SaverEvent::Ending;
        break;
    default:
        return;
    }
    if (!ownWindow) return;
    NoCursor cursor;
    CloseState state;
    state.runMode = Mode::Saver;
    state.elapsedSeconds = timer.elapsedSeconds();
    const CloseAction action = decideCloseAction(saverEvent, state, cursor);
    if (action == CloseAction::RequestClose || action == CloseAction::PostQuit) ending = true;
}

bool X11Saver::handleEvents() {
    while (!ending && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        handle(event);
    }
    // A window destroyed before its events were selected sends no
    // DestroyNotify; the failed requests that name it tell instead.
    if (watchedWindowGone) ending = true;
    return !ending;
}

void X11Saver::drawFrame() {
    timer.tick();
    scenes->update(timer.elapsedSecondsPrecise());
    scenes->draw();
    glXSwapBuffers(display, target);
}

void X11Saver::waitForEvents(int timeoutMilliseconds, int wakeFd) {
    XFlush(display);
    if (XEventsQueued(display, QueuedAlready) > 0) return;
    pollfd watched[2] = {{ConnectionNumber(display), POLLIN, 0}, {wakeFd, POLLIN, 0}};
    poll(watched, wakeFd >= 0 ? 2 : 1, timeoutMilliseconds);
}

void X11Saver::run(const volatile std::sig_atomic_t& stop, int wakeFd) {
    while (!stop && handleEvents()) {
        const double now = steadySeconds();
        const PaceDecision decision = pacer.next(now);
        switch (decision.kind) {
        case PaceDecision::Kind::DrawNow:
            pacer.frameDrawn(now);
            drawFrame();
            break;
        case PaceDecision::Kind::WaitUpTo:
            waitForEvents(static_cast<int>(decision.milliseconds), wakeFd);
            break;
        case PaceDecision::Kind::WaitForMessages:
            waitForEvents(-1, wakeFd);
            break;
        }
    }
}

void X11Saver::release() {
    scenes.reset();
    if (display == nullptr) return;
    if (context != nullptr) {
        glXMakeCurrent(display, None, nullptr);
        glXDestroyContext(display, static_cast<GLXContext>(context));
        context = nullptr;
    }
    if (visualInfo != nullptr) {
        XFree(visualInfo);
        visualInfo = nullptr;
    }
    if (ownWindow && target != 0) XDestroyWindow(display, target);
    if (colormap != 0) XFreeColormap(display, colormap);
    watchedWindow = 0;
    XCloseDisplay(display);
    display = nullptr;
}

// lumra run as XScreenSaver and its settings program run it, on Xvfb with
// Mesa's GLX: where the glow shows, that it follows its window, and that every
// kind of end (a signal, the window's end, the server's, the user's in its own
// window) ends it at once and cleanly, while input in -root changes nothing.
// GoogleTest first: Xlib's None macro would break it.
#include <gtest/gtest.h>

#include <GL/glx.h>
#include <X11/extensions/XTest.h>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "tests/x11/HackSupport.h"

namespace {

// Enough lit pixels that a few stray ones cannot pass for the effect.
constexpr int glowSeen = 50;

bool glows(Display* display, int x, int y, int width, int height) {
    return glowingPixels(display, x, y, width, height) > glowSeen;
}

void expectGlowWithin(Display* display, int x, int y, int width, int height, const char* where) {
    const double took = waitUntil([&] { return glows(display, x, y, width, height); });
    EXPECT_GE(took, 0.0) << "no glow " << where << " within " << ceilingSeconds
                         << " s; glowing pixels last seen: " << glowingPixels(display, x, y, width, height);
}

void expectCleanEnd(Program& program, const char* after) {
    std::string what;
    EXPECT_TRUE(program.endsCleanly(what)) << "after " << after << ": " << what;
    std::printf("lumra after %s: %s\n", after, what.c_str());
}

// Its own window, once viewable: a child of the root named LumraSaver.
Window lumraWindow(Display* display) {
    Window root = 0, parent = 0, found = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes{};
        if (XFetchName(display, children[i], &name) && std::strcmp(name, "LumraSaver") == 0 &&
            XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
            found = children[i];
        if (name != nullptr) XFree(name);
    }
    if (children != nullptr) XFree(children);
    return found;
}

// A window whose visual OpenGL can draw only single-buffered: nothing the
// program could swap.
Window createSingleBufferedWindow(Display* display) {
    int single[] = {GLX_RGBA, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), single);
    if (visual == nullptr) return 0;
    XSetWindowAttributes attributes{};
    attributes.colormap = XCreateColormap(display, DefaultRootWindow(display), visual->visual, AllocNone);
    const Window window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 100, 100, 0, visual->depth,
                                        InputOutput, visual->visual, CWColormap | CWBorderPixel, &attributes);
    XFree(visual);
    XSync(display, False);
    return window;
}

}  // namespace

TEST(HackProgram, BadOptionsAndUnusableServersSayWhatIsWrongAndExitNonZero) {
    const struct {
        std::vector<std::string> arguments;
        const char* said;
    } cases[] = {
        {{"-frobnicate"}, "unknown option '-frobnicate'"},
        {{"-window-id", "0xzz"}, "-window-id needs a window id"},
        {{"-window-id"}, "-window-id needs a value"},
        {{"-number", "12a"}, "digits only"},
        {{"-music-file", std::string(256, 'a')}, "at most 255 characters"},
    };
    for (const auto& c : cases) {
        Program program(":0", c.arguments);
        EXPECT_EQ(program.exitCode(), 2) << c.arguments[0];
        EXPECT_NE(program.errorOutput().find(c.said), std::string::npos) << program.errorOutput();
    }

    Xvfb withoutGlx("320x240", {"-extension", "GLX"});
    Program noGlx(withoutGlx.name(), {"-root"});
    EXPECT_EQ(noGlx.exitCode(), 1);
    EXPECT_NE(noGlx.errorOutput().find("no GLX"), std::string::npos) << noGlx.errorOutput();

    Program noDisplay(":4095", {"-root"});
    EXPECT_EQ(noDisplay.exitCode(), 1);
    EXPECT_NE(noDisplay.errorOutput().find("cannot open the X display"), std::string::npos) << noDisplay.errorOutput();

    Xvfb server("320x240");
    Program goneWindow(server.name(), {"-window-id", "0x1fffff0"});
    EXPECT_EQ(goneWindow.exitCode(), 1);
    EXPECT_NE(goneWindow.errorOutput().find("does not exist"), std::string::npos) << goneWindow.errorOutput();

    const Window singleBuffered = createSingleBufferedWindow(server.display());
    ASSERT_NE(singleBuffered, 0u) << "the server offers no single-buffered visual to try";
    Program noVisual(server.name(), {"-window-id", std::to_string(singleBuffered)});
    EXPECT_EQ(noVisual.exitCode(), 1);
    EXPECT_NE(noVisual.errorOutput().find("no usable visual"), std::string::npos) << noVisual.errorOutput();
}

// The settings program's preview: the glow in the window named, never around
// it; a larger window is followed; the window's end is the run's.
TEST(HackProgram, WindowIdDrawsInThatWindowOnlyFollowsItAndEndsWithIt) {
    Xvfb server("640x480");
    Display* display = server.display();
    const Window preview = createTestWindow(display, 100, 100, 200, 150);
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", preview);
    Program program(server.name(), {"-window-id", id});

    expectGlowWithin(display, 100, 100, 200, 150, "inside the preview window");
    const int outside = glowingPixels(display, 0, 0, 640, 100) + glowingPixels(display, 0, 250, 640, 230) +
                        glowingPixels(display, 0, 100, 100, 150) + glowingPixels(display, 300, 100, 340, 150);
    EXPECT_EQ(outside, 0) << "glowing pixels outside the preview window";

    // Twice as wide and high: the picture's middle moves past the old edges.
    XResizeWindow(display, preview, 400, 300);
    XSync(display, False);
    expectGlowWithin(display, 300, 100, 200, 300, "in the part the window grew by");

    XDestroyWindow(display, preview);
    XSync(display, False);
    expectCleanEnd(program, "its window was destroyed");
}

// The daemon's full-screen run in a window it names over the whole screen
// of two monitors: each lit, then one monitor and two again followed, then a
// smaller and a larger screen; keys and clicks are the daemon's.
TEST(HackProgram, RootLightsEveryMonitorFollowsThemAndIgnoresInput) {
    Xvfb server("1440x600");
    Display* display = server.display();
    server.setMonitors({"640x480+0+0", "*800x600+640+0"});
    const Window saverWindow = createTestWindow(display, 0, 0, 1440, 600);
    const std::string named = "XSCREENSAVER_WINDOW=" + std::to_string(saverWindow);
    Program program(server.name(), {"-root"}, {named});
    expectGlowWithin(display, 640, 0, 800, 600, "on the primary monitor");
    expectGlowWithin(display, 0, 0, 640, 480, "on the secondary monitor");
    EXPECT_EQ(glowingPixels(display, 0, 480, 640, 120), 0) << "glow below the secondary monitor, on no monitor";

    XTestFakeMotionEvent(display, -1, 700, 300, 0);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, 'a'), True, 0);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, 'a'), False, 0);
    XTestFakeButtonEvent(display, 1, True, 0);
    XTestFakeButtonEvent(display, 1, False, 0);
    XSync(display, False);
    // Frames go on after the input: the picture changes.
    const int before = glowingPixels(display, 640, 0, 800, 600);
    const double changed = waitUntil([&] { return glowingPixels(display, 640, 0, 800, 600) != before; });
    EXPECT_GE(changed, 0.0) << "the picture stood still after a key and a click for " << ceilingSeconds << " s";
    EXPECT_TRUE(program.running()) << "ended on input in -root: " << program.errorOutput();


    // The secondary monitor gone: its part of the screen goes dark.
    server.removeMonitor(0);
    const double dark = waitUntil([&] { return glowingPixels(display, 0, 0, 640, 480) == 0; });
    EXPECT_GE(dark, 0.0) << "the removed monitor still glowed after " << ceilingSeconds
                         << " s: " << glowingPixels(display, 0, 0, 640, 480) << " pixels";
    expectGlowWithin(display, 640, 0, 800, 600, "on the primary monitor, left alone");
    server.setMonitors({"640x480+0+0"});
    expectGlowWithin(display, 0, 0, 640, 480, "on the monitor added back");
    // The screen made smaller and larger again, the daemon's window with it.
    for (const int width : {1024, 1440}) {
        [[maybe_unused]] const int failed =
            std::system(("xrandr -d " + server.name() + " --fb " + std::to_string(width) + "x600 2>/dev/null").c_str());
        XResizeWindow(display, saverWindow, width, 600);  // the image read next comes after it
        expectGlowWithin(display, width - 300, 0, 300, 600, "at the right edge of the resized screen");
    }

    kill(program.id(), SIGTERM);
    expectCleanEnd(program, "SIGTERM");
}

// The daemon's signals end the run wherever it is, drawing or waiting on a
// window nobody sees.
TEST(HackProgram, InterruptAndHangupEndItDrawingOrWaitingUnseen) {
    Xvfb server("640x480");
    Display* display = server.display();
    for (const int signal : {SIGINT, SIGHUP, SIGTERM}) {
        const Window host = createTestWindow(display, 0, 0, 320, 240);
        char id[32];
        std::snprintf(id, sizeof id, "%lu", host);
        Program program(server.name(), {"-window-id", id});
        expectGlowWithin(display, 0, 0, 320, 240, "in the host window");
        if (signal == SIGTERM) {
            XUnmapWindow(display, host);
            XSync(display, False);
        }
        kill(program.id(), signal);
        expectCleanEnd(program, strsignal(signal));
        XDestroyWindow(display, host);
    }
}

TEST(HackProgram, TheServerGoingAwayEndsIt) {
    Xvfb server("640x480");
    Program program(server.name(), {"-root"});
    expectGlowWithin(server.display(), 0, 0, 640, 480, "on the root window");
    server.kill();
    expectCleanEnd(program, "the X server ended");
}

// Trying it out: its own window ends on a key, a click, or the window manager's close.
TEST(HackProgram, ItsOwnWindowClosesOnAKeyAClickOrAClose) {
    Xvfb server("1024x768");
    Display* display = server.display();
    for (const char* end : {"key", "click", "close"}) {
        Program program(server.name(), {"-window", "-floor"});
        Window window = 0;
        ASSERT_GE(waitUntil([&] { return (window = lumraWindow(display)) != 0; }), 0.0)
            << "no viewable LumraSaver window within " << ceilingSeconds << " s";
        expectGlowWithin(display, 0, 0, 800, 600, "in its own window");
        // Without a window manager the keyboard follows the pointer.
        XTestFakeMotionEvent(display, -1, 400, 300, 0);
        XSync(display, False);
        if (std::strcmp(end, "key") == 0) {
            XTestFakeKeyEvent(display, XKeysymToKeycode(display, 'q'), True, 0);
            XTestFakeKeyEvent(display, XKeysymToKeycode(display, 'q'), False, 0);
        } else if (std::strcmp(end, "click") == 0) {
            XTestFakeButtonEvent(display, 1, True, 0);
            XTestFakeButtonEvent(display, 1, False, 0);
        } else {
            XEvent close{};
            close.xclient.type = ClientMessage;
            close.xclient.window = window;
            close.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
            close.xclient.format = 32;
            close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
            XSendEvent(display, window, False, NoEventMask, &close);
        }
        XSync(display, False);
        expectCleanEnd(program, end);
        EXPECT_EQ(lumraWindow(display), 0u) << "its window stayed after the " << end;
    }
}

// lumra run as XScreenSaver and its settings program run it, on an Xvfb of the
// test's own with Mesa's GLX: where the glow shows, and how every kind of end
// ends it at once and cleanly.
// GoogleTest first: Xlib's None macro would break it.
#include <gtest/gtest.h>

#include <GL/glx.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The one ceiling of every wait; a passing run never comes near it.
constexpr double ceilingSeconds = 30.0;
// Enough lit pixels that a few stray ones cannot pass for the effect.
constexpr int glowSeen = 50;

// The seconds until done answered true, or -1 when the ceiling passed first.
double waitUntil(const std::function<bool()>& done) {
    const auto start = std::chrono::steady_clock::now();
    const auto took = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    while (!done()) {
        if (took() > ceilingSeconds) return -1.0;
        usleep(20000);
    }
    return took();
}

std::vector<char*> pointers(std::vector<std::string>& words) {
    std::vector<char*> list;
    for (std::string& word : words) list.push_back(word.data());
    list.push_back(nullptr);
    return list;
}

class Xvfb {
public:
    // size as "WIDTHxHEIGHT"; extra arguments go to the server as they are.
    explicit Xvfb(const std::string& size, const std::vector<std::string>& extra = {}) {
        int ready[2];
        if (pipe(ready) != 0) throw std::runtime_error("pipe failed");
        std::vector<std::string> words = {"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0",
                                          size + "x24", "-nolisten", "tcp", "-noreset", "-br"};
        words.insert(words.end(), extra.begin(), extra.end());
        pid = fork();
        if (pid == 0) {
            // Should the test die unwound (Xlib exits on X errors), the server must not keep ctest waiting.
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            close(ready[0]);
            dup2(open("/dev/null", O_WRONLY), 2);
            execvp("Xvfb", pointers(words).data());
            _exit(127);
        }
        close(ready[1]);
        // Up to the newline: the server writes it apart from the digits, and
        // fails when nobody is left to read it.
        std::string number;
        char c = 0;
        while (read(ready[0], &c, 1) == 1 && c != '\n') number += c;
        close(ready[0]);
        if (number.empty()) throw std::runtime_error("Xvfb " + size + " did not report a display number");
        name = ":" + number;
        display = XOpenDisplay(name.c_str());
        if (display == nullptr) throw std::runtime_error("cannot connect to the test's Xvfb " + name);
    }
    ~Xvfb() { kill(); }

    // Monitors as xrandr makes them: the primary takes the screen's one output.
    void xrandr(const std::string& arguments) const {
        const std::string command = "xrandr -d " + name + " " + arguments;
        if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
    }
    void kill() {
        if (pid <= 0) return;
        ::kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        pid = -1;
        // The connection died with the server; closing it would only report that.
        display = nullptr;
    }

    std::string name;
    Display* display = nullptr;

private:
    pid_t pid = -1;
};

// lumra started with these arguments and extra environment entries, its stderr kept.
class Program {
public:
    Program(const std::string& display, const std::vector<std::string>& arguments,
            const std::vector<std::string>& environment = {}) {
        char name[] = "/tmp/lumra-stderr-XXXXXX";
        const int errors = mkstemp(name);
        errorFile = name;
        std::vector<std::string> words = {LUMRA_PROGRAM};
        words.insert(words.end(), arguments.begin(), arguments.end());
        pid = fork();
        if (pid == 0) {
            dup2(errors, 2);
            unsetenv("XSCREENSAVER_WINDOW");
            setenv("DISPLAY", display.c_str(), 1);
            for (const std::string& entry : environment) putenv(const_cast<char*>(entry.c_str()));
            execv(LUMRA_PROGRAM, pointers(words).data());
            _exit(127);
        }
        close(errors);
    }
    ~Program() {
        if (!ended()) {
            ::kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        unlink(errorFile.c_str());
    }

    bool ended() {
        gone = gone || waitpid(pid, &status, WNOHANG) == pid;
        return gone;
    }
    std::string errorOutput() const {
        std::stringstream text;
        text << std::ifstream(errorFile).rdbuf();
        return text.str();
    }

    pid_t pid = -1;
    int status = 0;

private:
    bool gone = false;
    std::string errorFile;
};

void expectExit(Program& program, int code, const std::string& after) {
    const double took = waitUntil([&] { return program.ended(); });
    std::ostringstream what;
    if (took < 0) {
        what << "still running after " << ceilingSeconds << " s";
    } else if (WIFSIGNALED(program.status)) {
        what << "killed by signal " << WTERMSIG(program.status) << (WCOREDUMP(program.status) ? " (core dumped)" : "")
             << " after " << took << " s";
    } else {
        what << "exit code " << WEXITSTATUS(program.status) << " after " << took << " s";
    }
    EXPECT_TRUE(took >= 0 && WIFEXITED(program.status) && WEXITSTATUS(program.status) == code)
        << "after " << after << ", awaited exit code " << code << ", saw " << what.str()
        << "; stderr: " << program.errorOutput();
}

// Pixels of the rectangle that glow blue-cyan as the particles do.
int glowingPixels(Display* display, int x, int y, int width, int height) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, width, height, AllPlanes, ZPixmap);
    if (image == nullptr) return -1;
    int count = 0;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            const int r = (pixel >> 16) & 0xFF;
            const int g = (pixel >> 8) & 0xFF;
            const int b = pixel & 0xFF;
            count += r + g + b > 60 && b >= g && b > 2 * r + 20;
        }
    }
    XDestroyImage(image);
    return count;
}

void expectGlowWithin(Display* display, int x, int y, int width, int height, const char* where) {
    const double took = waitUntil([&] { return glowingPixels(display, x, y, width, height) > glowSeen; });
    EXPECT_GE(took, 0.0) << "no glow " << where << " within " << ceilingSeconds
                         << " s; glowing pixels last seen: " << glowingPixels(display, x, y, width, height);
}

// A plain window of the test's own, mapped, with a black background.
Window createTestWindow(Display* display, int x, int y, int width, int height) {
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y, width, height, 0,
                                              BlackPixel(display, screen), BlackPixel(display, screen));
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

// Its own window: a child of the root named LumraSaver (that it shows, the glow tells).
Window lumraWindow(Display* display) {
    Window root = 0, parent = 0, found = 0, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned int i = 0; i < count; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) && std::strcmp(name, "LumraSaver") == 0) found = children[i];
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

// Messages are one line, quoting at most the start of a value however long.
TEST(HackProgram, BadOptionsAndUnusableServersSayWhatIsWrongAndExitNonZero) {
    Xvfb withoutGlx("320x240", {"-extension", "GLX"});
    Xvfb server("320x240");
    const Window singleBuffered = createSingleBufferedWindow(server.display);
    ASSERT_NE(singleBuffered, 0u) << "the server offers no single-buffered visual to try";
    const Window inputOnly = XCreateWindow(server.display, DefaultRootWindow(server.display), 0, 0, 100, 100, 0, 0,
                                           InputOnly, CopyFromParent, 0, nullptr);
    XSync(server.display, False);
    const std::string huge(100000, '7');
    const struct {
        std::string display;
        std::vector<std::string> arguments;
        int code;
        const char* said;
    } cases[] = {
        {":0", {"-frobnicate"}, 2, "unknown option '-frobnicate'"},
        {":0", {"-window-id", "0xzz"}, 2, "-window-id needs a window id"},
        {":0", {"-window-id"}, 2, "-window-id needs a value"},
        {":0", {"-number", "12a"}, 2, "digits only"},
        {":0", {"-music-file", std::string(256, 'a')}, 2, "at most 255 characters"},
        {withoutGlx.name, {"-root"}, 1, "no GLX"},
        {":4095", {"-root"}, 1, "cannot open the X display"},
        {server.name, {"-window-id", "0x1fffff0"}, 1, "does not exist"},
        {server.name, {"-window-id", std::to_string(singleBuffered)}, 1, "no usable visual"},
        {server.name, {"-window-id", std::to_string(inputOnly)}, 1, "input-only"},
        {":0", {"-window-id", huge}, 2, "-window-id needs a window id"},
        {":0", {huge}, 2, "unknown option"},
        {server.name, {"-display", ":" + huge}, 1, "cannot open the X display"},
    };
    for (const auto& c : cases) {
        Program program(c.display, c.arguments);
        expectExit(program, c.code, c.said);
        const std::string said = program.errorOutput();
        EXPECT_NE(said.find(c.said), std::string::npos) << said.substr(0, 400);
        EXPECT_LT(said.size(), 300u) << "a message of " << said.size() << " bytes, starting " << said.substr(0, 200);
    }
}

// The session may end in any moment of the start: once the program is
// connected and setting up GLX (its GL driver is loaded), it then ends as it
// does when the server goes later.
TEST(HackProgram, TheServerGoingWhileGlxIsSetUpEndsItWithStatus0) {
    for (int milliseconds = 0; milliseconds <= 90; milliseconds += 10) {
        Xvfb server("320x240");
        Program program(server.name, {"-root"});
        const auto driverLoaded = [&] {
            std::ifstream maps("/proc/" + std::to_string(program.pid) + "/maps");
            return std::string(std::istreambuf_iterator<char>(maps), {}).find("libGLX_mesa") != std::string::npos;
        };
        ASSERT_GE(waitUntil(driverLoaded), 0.0) << "lumra loaded no GLX driver within " << ceilingSeconds << " s";
        usleep(static_cast<useconds_t>(milliseconds) * 1000);
        server.kill();
        expectExit(program, 0, "the X server ended " + std::to_string(milliseconds) + " ms into GLX's set-up");
    }
}

// The settings program's preview: the glow in the window named, never around
// it; a larger window is followed; the window's end is the run's.
TEST(HackProgram, WindowIdDrawsInThatWindowOnlyFollowsItAndEndsWithIt) {
    Xvfb server("640x480");
    Display* display = server.display;
    const Window preview = createTestWindow(display, 100, 100, 200, 150);
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", preview);
    Program program(server.name, {"-window-id", id});

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
    expectExit(program, 0, "its window was destroyed");
}

// The daemon's full-screen run in a window it names over the whole screen
// of two monitors: each lit, then one monitor and two again followed, then a
// smaller and a larger primary and window; keys and clicks are the daemon's. The session's
// end is its end.
TEST(HackProgram, RootLightsEveryMonitorFollowsThemIgnoresInputAndEndsWithTheServer) {
    Xvfb server("1440x600");
    Display* display = server.display;
    server.xrandr("--setmonitor M0 640/160x480/120+0+0 none");
    server.xrandr("--setmonitor P 800/200x600/150+640+0 screen");
    const Window saverWindow = createTestWindow(display, 0, 0, 1440, 600);
    const std::string named = "XSCREENSAVER_WINDOW=" + std::to_string(saverWindow);
    Program program(server.name, {"-root"}, {named});
    expectGlowWithin(display, 640, 0, 800, 600, "on the primary monitor");
    expectGlowWithin(display, 0, 0, 640, 480, "on the secondary monitor");
    EXPECT_EQ(glowingPixels(display, 0, 480, 640, 120), 0) << "glow below the secondary monitor, on no monitor";

    XTestFakeMotionEvent(display, -1, 700, 300, 0);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, 'a'), True, 0);
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, 'a'), False, 0);
    XTestFakeButtonEvent(display, 1, True, 0);
    XTestFakeButtonEvent(display, 1, False, 0);
    XSync(display, False);

    // The secondary monitor gone: its part of the screen goes dark, drawn after the input.
    server.xrandr("--delmonitor M0");
    const double dark = waitUntil([&] { return glowingPixels(display, 0, 0, 640, 480) == 0; });
    EXPECT_GE(dark, 0.0) << "the removed monitor still glowed after " << ceilingSeconds
                         << " s: " << glowingPixels(display, 0, 0, 640, 480) << " pixels";
    EXPECT_TRUE(!program.ended()) << "ended on input in -root: " << program.errorOutput();
    expectGlowWithin(display, 640, 0, 800, 600, "on the primary monitor, left alone");
    server.xrandr("--setmonitor M0 640/160x480/120+0+0 none");
    expectGlowWithin(display, 0, 0, 640, 480, "on the monitor added back");
    // A resolution change as RandR reports it (Xvfb's one output keeps its
    // size): the primary smaller, then as it was.
    server.xrandr("--delmonitor P --setmonitor P 600/150x400/100+640+0 screen");
    const double shrunk = waitUntil([&] { return glowingPixels(display, 640, 400, 800, 200) == 0; });
    EXPECT_GE(shrunk, 0.0) << "glow below the primary made 600x400 after " << ceilingSeconds
                           << " s: " << glowingPixels(display, 640, 400, 800, 200) << " pixels";
    expectGlowWithin(display, 640, 0, 600, 400, "on the primary made 600x400");
    server.xrandr("--delmonitor P --setmonitor P 800/200x600/150+640+0 screen");
    expectGlowWithin(display, 1240, 400, 200, 200, "where the primary is 800x600 again");
    // The daemon's window made smaller and larger again.
    for (const int width : {1024, 1440}) {
        XResizeWindow(display, saverWindow, width, 600);  // the image read next comes after it
        expectGlowWithin(display, width - 300, 0, 300, 600, "at the right edge of the resized window");
    }

    // The signals are checked on their own below; here the session ends.
    server.kill();
    expectExit(program, 0, "the X server ended");
}

// The daemon's signals end the run wherever it is, drawing or waiting on a
// window nobody sees.
TEST(HackProgram, InterruptAndHangupEndItDrawingOrWaitingUnseen) {
    Xvfb server("640x480");
    Display* display = server.display;
    for (const int signal : {SIGINT, SIGHUP, SIGTERM}) {
        const Window host = createTestWindow(display, 0, 0, 320, 240);
        Program program(server.name, {"-window-id", std::to_string(host)});
        expectGlowWithin(display, 0, 0, 320, 240, "in the host window");
        if (signal == SIGTERM) {
            XUnmapWindow(display, host);
            XSync(display, False);
            // Its own wait (the connection and the signal pipe) without a limit.
            std::string seen;
            const auto waitingUnseen = [&] {
                std::ifstream call("/proc/" + std::to_string(program.pid) + "/syscall");
                std::getline(call, seen);
                long number = -1;
                unsigned long fds = 0, fdCount = 0, timeout = 0;
                return std::sscanf(seen.c_str(), "%ld %lx %lx %lx", &number, &fds, &fdCount, &timeout) == 4 &&
                       number == SYS_poll && fdCount == 2 && static_cast<int>(timeout) == -1;
            };
            ASSERT_GE(waitUntil(waitingUnseen), 0.0)
                << "not waiting without a limit " << ceilingSeconds << " s after its window was unmapped; "
                << "its system call last seen: " << seen;
        }
        kill(program.pid, signal);
        expectExit(program, 0, strsignal(signal));
        XDestroyWindow(display, host);
    }
}

// Trying it out: its own window ends on a key, a click, or the window manager's close.
TEST(HackProgram, ItsOwnWindowClosesOnAKeyAClickOrAClose) {
    Xvfb server("1024x768");
    Display* display = server.display;
    for (const char* end : {"key", "click", "close"}) {
        Program program(server.name, {"-window", "-floor"});
        Window window = 0;
        ASSERT_GE(waitUntil([&] { return (window = lumraWindow(display)) != 0; }), 0.0)
            << "no LumraSaver window within " << ceilingSeconds << " s";
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
        expectExit(program, 0, end);
    }
}

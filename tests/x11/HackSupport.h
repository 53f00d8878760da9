// What the tests of the Linux program need around it: an Xvfb of their own
// (its number picked by the server), the program started as XScreenSaver
// starts it, the screen's pixels, and waits with one generous ceiling.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

// The one ceiling of every wait; a passing run never comes near it.
constexpr double ceilingSeconds = 30.0;

// Calls done until it answers true or the ceiling passes; the seconds it took,
// or a negative number when it never did.
double waitUntil(const std::function<bool()>& done);

class Xvfb {
public:
    // size as "WIDTHxHEIGHT"; extra arguments go to the server as they are.
    explicit Xvfb(const std::string& size, const std::vector<std::string>& extra = {});
    ~Xvfb();
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    const std::string& name() const { return displayName; }
    Display* display() const { return connection; }
    // Splits the screen into RandR monitors, "*" before the primary's geometry.
    void setMonitors(const std::vector<std::string>& geometries);
    // Removes the monitor setMonitors listed at index.
    void removeMonitor(std::size_t index);
    // Ends the server, as the end of a session does.
    void kill();

private:
    pid_t pid = -1;
    std::string displayName;
    Display* connection = nullptr;
};

class Program {
public:
    // Starts lumra with these arguments on display, with extra environment
    // entries ("NAME=value"); its stderr is kept.
    Program(const std::string& display, const std::vector<std::string>& arguments,
            const std::vector<std::string>& environment = {});
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    pid_t id() const { return pid; }
    bool running();
    // Waits for the end; true when it ended with exit code 0 and no signal.
    // what says how it ended, or that it had not after the ceiling, and how long it took.
    bool endsCleanly(std::string& what);
    // Waits for the end and gives the exit code (-1: still running or signalled).
    int exitCode();
    std::string errorOutput() const;

private:
    bool reap(bool wait);
    pid_t pid = -1;
    int status = 0;
    bool ended = false;
    std::string errorFile;
};

// Pixels of the rectangle that glow blue-cyan as the particles do.
int glowingPixels(Display* display, int x, int y, int width, int height);

// A plain window of the test's own, mapped, with a black background.
Window createTestWindow(Display* display, int x, int y, int width, int height);

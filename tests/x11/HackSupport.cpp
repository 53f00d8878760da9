#include "tests/x11/HackSupport.h"

#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

double seconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void nap() { usleep(20000); }

std::vector<char*> pointers(std::vector<std::string>& words) {
    std::vector<char*> list;
    for (std::string& word : words) list.push_back(word.data());
    list.push_back(nullptr);
    return list;
}

}  // namespace

double waitUntil(const std::function<bool()>& done) {
    const double start = seconds();
    while (!done()) {
        if (seconds() - start > ceilingSeconds) return -1.0;
        nap();
    }
    return seconds() - start;
}

Xvfb::Xvfb(const std::string& size, const std::vector<std::string>& extra) {
    int ready[2];
    if (pipe(ready) != 0) throw std::runtime_error("pipe failed");
    std::vector<std::string> words = {"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0", size + "x24",
                                      "-nolisten", "tcp", "-noreset", "-br"};
    words.insert(words.end(), extra.begin(), extra.end());
    pid = fork();
    if (pid == 0) {
        close(ready[0]);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 2);
        execvp("Xvfb", pointers(words).data());
        _exit(127);
    }
    close(ready[1]);
    // Up to the newline: the server writes it apart from the digits, and fails
    // when nobody is left to read it.
    std::string number;
    char c = 0;
    while (read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    if (number.empty()) throw std::runtime_error("Xvfb " + size + " did not report a display number");
    displayName = ":" + number;
    connection = XOpenDisplay(displayName.c_str());
    if (connection == nullptr) throw std::runtime_error("cannot connect to the test's Xvfb " + displayName);
}

Xvfb::~Xvfb() { kill(); }

void Xvfb::kill() {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = -1;
    // The connection died with the server; closing it would only report that.
    connection = nullptr;
}

// The monitors as xrandr makes them; the primary takes the screen's one output.
void Xvfb::setMonitors(const std::vector<std::string>& geometries) {
    for (std::size_t i = 0; i < geometries.size(); ++i) {
        const bool primary = geometries[i][0] == '*';
        int width = 0, height = 0, x = 0, y = 0;
        std::sscanf(geometries[i].c_str() + (primary ? 1 : 0), "%dx%d+%d+%d", &width, &height, &x, &y);
        std::ostringstream command;
        command << "xrandr -d " << displayName << " --setmonitor M" << i << " " << width << "/" << width / 4 << "x"
                << height << "/" << height / 4 << "+" << x << "+" << y << (primary ? " screen" : " none");
        if (std::system(command.str().c_str()) != 0) throw std::runtime_error("failed: " + command.str());
    }
}

void Xvfb::removeMonitor(std::size_t index) {
    const std::string command = "xrandr -d " + displayName + " --delmonitor M" + std::to_string(index);
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

Program::Program(const std::string& display, const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment) {
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

Program::~Program() {
    if (!ended && pid > 0) {
        ::kill(pid, SIGKILL);
        reap(true);
    }
    unlink(errorFile.c_str());
}

bool Program::reap(bool wait) {
    if (ended) return true;
    const pid_t done = waitpid(pid, &status, wait ? 0 : WNOHANG);
    ended = done == pid;
    return ended;
}

bool Program::running() { return !reap(false); }

bool Program::endsCleanly(std::string& what) {
    const double took = waitUntil([this] { return reap(false); });
    std::ostringstream text;
    if (took < 0) {
        text << "still running after " << ceilingSeconds << " s";
    } else if (WIFSIGNALED(status)) {
        text << "killed by signal " << WTERMSIG(status) << (WCOREDUMP(status) ? " (core dumped)" : "") << " after "
             << took << " s";
    } else {
        text << "exit code " << WEXITSTATUS(status) << " after " << took << " s";
    }
    what = text.str() + "; stderr: " + errorOutput();
    return took >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

int Program::exitCode() {
    if (waitUntil([this] { return reap(false); }) < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

std::string Program::errorOutput() const {
    std::ifstream file(errorFile);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

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

Window createTestWindow(Display* display, int x, int y, int width, int height) {
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y, width, height, 0,
                                              BlackPixel(display, screen), BlackPixel(display, screen));
    XMapWindow(display, window);
    XSync(display, False);
    return window;
}

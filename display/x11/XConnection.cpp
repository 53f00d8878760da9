// Xlib's error handlers are the process's, so the state they keep is too:
// one connection at a time.
#include "display/x11/XConnection.h"

#include <GL/glx.h>
#include <poll.h>
#include <unistd.h>

#include <csignal>

#include "shell/Exception.h"

namespace {

// A window handed over may be destroyed at any moment, and the next request
// that names it fails. That is the run's end, not the program's: Xlib's
// default handler would exit with 1.
Window watchedWindow = 0;
bool watchedGone = false;
int connectionFd = -1;

int recordError(Display*, XErrorEvent* error) {
    if (watchedWindow != 0 && error->resourceid == watchedWindow) watchedGone = true;
    return 0;
}

// The server went away (the session ended, or the daemon's display closed):
// nothing is left to draw on or to clean up there. Exiting normally would run
// the GL driver's exit handlers against the dead connection.
int connectionLost(Display*) { _exit(0); }

bool connectionClosed() {
    pollfd peer{connectionFd, POLLRDHUP, 0};
    return connectionFd >= 0 && poll(&peer, 1, 0) == 1 && (peer.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL));
}

// Some of the GL driver's requests go through XCB and use a failed reply
// without looking: a server that goes while GLX is being set up (seen in
// glXGetConfig, within the first tenth of a second) crashes the program
// before Xlib hears of the loss. When the connection is closed, such a crash
// is that loss and ends as it does. Any other crash stays one: the handler
// is reset on entry, so returning repeats the fault with the default action.
void crashed(int) {
    if (connectionClosed()) _exit(0);
}

Display* open(const std::string& name) {
    XSetErrorHandler(recordError);
    XSetIOErrorHandler(connectionLost);
    Display* display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    if (display == nullptr) throw Exception("cannot open the X display");
    connectionFd = ConnectionNumber(display);
    struct sigaction action {};
    action.sa_handler = crashed;
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGSEGV, SIGBUS, SIGABRT}) sigaction(signal, &action, nullptr);
    return display;
}

}  // namespace

XConnection::XConnection(const std::string& name) : display(open(name)), root(DefaultRootWindow(display)) {
    int errorBase = 0;
    int eventBase = 0;
    if (!glXQueryExtension(display, &errorBase, &eventBase)) {
        XCloseDisplay(display);
        connectionFd = -1;
        throw Exception("the X server has no GLX extension, so OpenGL cannot draw there");
    }
}

XConnection::~XConnection() {
    watchedWindow = 0;
    connectionFd = -1;
    XCloseDisplay(display);
}

void XConnection::watch(Window window) {
    watchedWindow = window;
    watchedGone = false;
}

bool XConnection::watchedWindowGone() const { return watchedGone; }

void XConnection::wait(int milliseconds, int wakeFd) {
    XFlush(display);
    if (XEventsQueued(display, QueuedAlready) > 0) return;
    pollfd watched[2] = {{ConnectionNumber(display), POLLIN, 0}, {wakeFd, POLLIN, 0}};
    poll(watched, wakeFd >= 0 ? 2 : 1, milliseconds);
}

// Xlib's error handlers are the process's, so the state they keep is too:
// one connection at a time.
#include "display/x11/XConnection.h"

#include <GL/glx.h>
#include <unistd.h>

#include "display/unix/ConnectionWait.h"
#include "shell/Exception.h"

namespace {

// A window handed over may be destroyed at any moment, and the next request
// that names it fails. That is the run's end, not the program's: Xlib's
// default handler would exit with 1.
Window watchedWindow = 0;
bool watchedGone = false;

int recordError(Display*, XErrorEvent* error) {
    if (watchedWindow != 0 && error->resourceid == watchedWindow) watchedGone = true;
    return 0;
}

// The server went away (the session ended, or the daemon's display closed):
// nothing is left to draw on or to clean up there. Exiting normally would run
// the GL driver's exit handlers against the dead connection.
int connectionLost(Display*) { _exit(0); }

Display* open(const std::string& name) {
    XSetErrorHandler(recordError);
    XSetIOErrorHandler(connectionLost);
    Display* display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
    if (display == nullptr) throw Exception("cannot open the X display");
    // Seen in glXGetConfig, with the server gone in the first tenth of a second.
    endCrashesOnLostConnection(ConnectionNumber(display), 0);
    return display;
}

}  // namespace

XConnection::XConnection(const std::string& name) : display(open(name)), root(DefaultRootWindow(display)) {
    int errorBase = 0;
    int eventBase = 0;
    if (!glXQueryExtension(display, &errorBase, &eventBase)) {
        endCrashesOnLostConnection(-1, 0);
        XCloseDisplay(display);
        throw Exception("the X server has no GLX extension, so OpenGL cannot draw there");
    }
}

XConnection::~XConnection() {
    watchedWindow = 0;
    endCrashesOnLostConnection(-1, 0);
    XCloseDisplay(display);
}

void XConnection::watch(Window window) {
    watchedWindow = window;
    watchedGone = false;
}

bool XConnection::watchedWindowGone() const { return watchedGone; }

void XConnection::wait(int milliseconds, int wakeFd) {
    XFlush(display);
    if (XEventsQueued(display, QueuedAlready) == 0) waitOnConnection(ConnectionNumber(display), wakeFd, milliseconds);
}

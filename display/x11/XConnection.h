// The connection to the X server for one run: opened and checked for GLX,
// the wait on it, and what its end means. A server that goes away ends the
// program at once, with status 0, whatever it was doing.
#pragma once

#include <X11/Xlib.h>

#include <string>

class XConnection {
public:
    // name: the display to open, empty for $DISPLAY. Throws Exception.
    explicit XConnection(const std::string& name);
    ~XConnection();

    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;

    // A window of another client's, which may be destroyed at any moment:
    // the next request that names it fails, and gone() tells.
    void watch(Window window);
    bool watchedWindowGone() const;

    // Sleeps until an event comes, wakeFd becomes readable or milliseconds
    // pass (no limit when negative); at once when an event already waits.
    void wait(int milliseconds, int wakeFd);

    Display* const display;
    const Window root;
};

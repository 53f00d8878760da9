// The window a run draws into: one of its own, for trying the program, or
// one another client hands over (XScreenSaver's, its settings program's
// preview, or the root), with the visual OpenGL will draw it with.
#pragma once

// The program's own headers come first: Xlib's macros would break them.
#include "shell/x11/HackOptions.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "display/x11/XConnection.h"

class XTargetWindow {
public:
    // The window the options name. Throws Exception when there is none, or
    // when OpenGL cannot draw into it double-buffered.
    XTargetWindow(XConnection& connection, const HackOptions& options);
    ~XTargetWindow();

    XTargetWindow(const XTargetWindow&) = delete;
    XTargetWindow& operator=(const XTargetWindow&) = delete;

    Window window = 0;
    XVisualInfo* visual = nullptr;
    bool own = false;
    // -root: one picture per monitor the window covers, followed as they change.
    bool followsMonitors = false;
    Atom deleteWindow = 0;  // WM_DELETE_WINDOW, the window manager's close of its own window

private:
    void createOwn();
    void adopt(Window given);

    XConnection& connection;
    Colormap colormap = 0;
};

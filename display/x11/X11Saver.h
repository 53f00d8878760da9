// The Linux host of the effect: the window it draws into (the one XScreenSaver
// or its settings program hands over, or one of its own), the GLX context, the
// scenes of the monitors that window covers, and the frame loop, which waits
// on the X connection as the frame pacer says and ends on a signal, on the
// window's end or the connection's, or on input to its own window.
#pragma once

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "display/FramePacer.h"
#include "display/FrameTimer.h"
#include "display/MonitorScenes.h"
#include "shell/x11/HackOptions.h"

// Xlib's own types, declared here so that its macros (Success, Status, None)
// stay out of every file that includes this one.
struct _XDisplay;

class X11Saver {
public:
    // Opens the display, takes or creates the window, makes a context current
    // and builds the scenes. Throws Exception with a one-line text that says
    // which step failed.
    explicit X11Saver(const HackOptions& options);
    ~X11Saver();

    X11Saver(const X11Saver&) = delete;
    X11Saver& operator=(const X11Saver&) = delete;

    // Frames until the run ends. stop is set by the ending signals, whose
    // handler also writes to wakeFd, so a wait ends at once.
    void run(const volatile std::sig_atomic_t& stop, int wakeFd);

    // Handles every event waiting; false once the run must end.
    bool handleEvents();
    // One whole frame: update, draw, swap. The frame benchmark calls it directly.
    void drawFrame();

    std::size_t sceneCount() const { return scenes ? scenes->count() : 0; }
    Scene& scene(std::size_t index) { return scenes->scene(index); }
    unsigned long window() const { return target; }

private:
    void openDisplay(const HackOptions& options);
    void createOwnWindow();
    void adoptWindow(unsigned long window);
    void createContext();
    void syncSwapsToTheDisplay();
    void relayout();
    void handle(const union _XEvent& event);
    void waitForEvents(int timeoutMilliseconds, int wakeFd);
    void release();

    _XDisplay* display = nullptr;
    unsigned long root = 0;
    unsigned long target = 0;
    bool ownWindow = false;
    bool followMonitors = false;  // -root: one picture per monitor the window covers
    unsigned long colormap = 0;
    unsigned long deleteWindow = 0;  // the WM_DELETE_WINDOW atom
    void* visualInfo = nullptr;  // XVisualInfo*, kept for the context
    void* context = nullptr;     // GLXContext
    bool ending = false;

    std::vector<std::uint8_t> glowFile;
    std::uint32_t seed = 0;
    ScreenLayout layout;
    std::unique_ptr<MonitorScenes> scenes;
    FrameTimer timer;
    FramePacer pacer;
};

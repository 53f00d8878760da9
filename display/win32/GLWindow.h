// The window, device context, OpenGL rendering context and message pump of
// one drawing run, with the frame timer. Only one may exist per process.
#pragma once

#include <windows.h>

#include <cstdint>

#include "display/FramePacer.h"
#include "display/FrameTimer.h"
#include "display/ScreenLayout.h"
#include "display/win32/MonitorList.h"

class GLWindow {
public:
    // The live window object, or null: the window procedure reads the timer
    // through it, and the window can outlive the object.
    static GLWindow* instance;

    // Creates and shows the window for the run mode, with a double-buffered
    // context made current on this thread, and starts the timer. Throws
    // Exception with the system's failure texts.
    GLWindow();
    virtual ~GLWindow();

    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    // Ticks the timer and handles at most one waiting message, never waiting
    // for one. 1 to go on, 0 once the quit message has been taken.
    std::int32_t pumpMessages();
    // True when a frame is owed now. Otherwise waits, as the pacer says, until
    // a message arrives or the next frame is due, and returns false.
    bool frameOwed();
    // The desk changed under a running saver: the cursor's place now is the
    // base of mouse travel, and the next frame follows the desk.
    void deskChanged();

    FrameTimer timer;
    FramePacer pacer;

protected:
    // After a change of the desk, covers the virtual screen as it now is and
    // lays the pictures out anew: true when it did.
    bool followDesk();
    // The monitors as the system lists them now.
    virtual MonitorList currentMonitors() const { return listMonitors(); }

    bool active;
    // The size of the primary monitor's picture (the whole window's in a
    // preview), and where every monitor's picture sits in the window.
    std::int32_t width;
    std::int32_t height;
    ScreenLayout layout;
    std::int32_t colorBits;
    HGLRC renderContext;
    HDC deviceContext;
    MSG message;

private:
    void createWindow();
    void recordCursorBase();
    void setupPixelFormat();
    void createContext();
    // Lets go of the rendering and device contexts, whichever exist.
    void releaseContexts();
    void listenForVisibility(HWND window);
    void waitForMessage(DWORD milliseconds);

    HPOWERNOTIFY displayNotification = nullptr;
    bool sessionNotification = false;
    bool fineTimer = false;
    bool deskStale = false;
};

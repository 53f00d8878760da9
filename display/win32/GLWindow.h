// The window, device context, OpenGL rendering context and message pump of
// one drawing run: the Windows host of the portable run, which it holds.
// Only one may exist per process.
#pragma once

#include <windows.h>

#include <cstdint>

#include "display/SaverHost.h"
#include "display/SaverRun.h"
#include "display/ScreenLayout.h"
#include "display/win32/MonitorList.h"

class GLWindow : public SaverHost {
public:
    // The live window object, or null: the window procedure hands events to
    // its run, and the window can outlive the object.
    static GLWindow* instance;

    // Creates and shows the window for the run mode, with a double-buffered
    // context made current on this thread, and starts the run's timer.
    // globalSettings must be set. Throws Exception with the system's failure
    // texts.
    GLWindow();
    ~GLWindow() override;

    GLWindow(const GLWindow&) = delete;
    GLWindow& operator=(const GLWindow&) = delete;

    // Handles at most one waiting message, never waiting for one. 1 to go
    // on, 0 once the quit message has been taken.
    std::int32_t pumpMessages();

    // The host's side of the run.
    bool pumpEvents() override;
    DeskLayout readDesk() override;
    void makeCurrent(std::size_t) override {}  // one window, its context current throughout
    void present(std::size_t) override { SwapBuffers(deviceContext); }
    void waitForEvents(std::int32_t milliseconds) override;

    SaverRun run;

protected:
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
    void setupPixelFormat();
    void createContext();
    // Lets go of the rendering and device contexts, whichever exist.
    void releaseContexts();
    void listenForVisibility(HWND window);
    ScreenLayout coverMonitors() const;

    HPOWERNOTIFY displayNotification = nullptr;
    bool sessionNotification = false;
    bool fineTimer = false;
};

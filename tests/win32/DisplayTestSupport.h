// Shared set-up for the display tests under Wine: the process-wide values a
// drawing run reads, a settings record over an empty store, and clean-up of
// the saver window, its class and any host window, so every test starts as a
// fresh process.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "display/win32/GLWindow.h"
#include "shell/Exception.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/ProcessState.h"

namespace displaytest {

// Handles or drops every waiting message of this thread, the quit message
// included. Paint messages stay queued until a window procedure has painted,
// so they are dispatched rather than dropped.
inline void drainMessages() {
    MSG message;
    for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (message.message != WM_QUIT) DispatchMessageA(&message);
    }
}

// True when a message of this kind waits in the thread's queue (it stays there).
inline bool messageWaiting(UINT kind, HWND window = nullptr) {
    MSG message;
    return PeekMessageA(&message, window, kind, kind, PM_NOREMOVE) != FALSE;
}

template <typename Make>
std::string failureOf(Make make) {
    try {
        make();
    } catch (const Exception& e) {
        return e.message();
    }
    return "nothing thrown";
}

// A window object whose size fields and device context can be read.
template <typename Window>
struct Inspected : Window {
    std::int32_t windowWidth() const { return this->width; }
    std::int32_t windowHeight() const { return this->height; }
    HDC context() const { return this->deviceContext; }
};

class DisplayTest : public ::testing::Test {
protected:
    MemoryStore store;
    SaverSettings settings{store};
    HWND host = nullptr;

    void SetUp() override {
        ASSERT_EQ(GLWindow::instance, nullptr);
        resetProcessState();
        moduleInstance = reinterpret_cast<NativeHandle>(GetModuleHandleA(nullptr));
        RunMode = Mode::Saver;
        settings.loadSystemValues();
        settings.load();
        globalSettings = &settings;
        drainMessages();
    }

    // The window outlives its object, as in the real program; a test process
    // must remove it (and the class) before the next test registers again.
    void TearDown() override {
        if (host != nullptr) DestroyWindow(host);  // takes the saver window with it
        if (settings.window != 0) DestroyWindow(saverWindow());
        UnregisterClassA("tirrans_class", reinterpret_cast<HINSTANCE>(moduleInstance));
        drainMessages();
        resetProcessState();
    }

    // Preview mode inside a visible host window made here.
    HWND openHost(int x, int y, int w, int h) {
        host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, w, h, nullptr, nullptr,
                               nullptr, nullptr);
        RunMode = Mode::Preview;
        mainWindowHandle = reinterpret_cast<NativeHandle>(host);
        return host;
    }

    HWND saverWindow() const { return reinterpret_cast<HWND>(settings.window); }
};

}  // namespace displaytest

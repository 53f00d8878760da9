// Shared set-up for the display tests under Wine: the process-wide values a
// drawing run reads, a settings record over an empty store, and clean-up of
// the saver window and its class, so every test starts as a fresh process.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "display/win32/GLWindow.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"

namespace displaytest {

class EmptyStore : public SettingsStore {
public:
    Status openKey(const char*, Key&) override { return NotFound; }
    Status readValue(Key, const char*, void*, std::uint32_t, std::uint32_t&) override { return NotFound; }
    Status createKey(const char*, Key&) override { return NotFound; }
    Status writeValue(Key, const char*, Kind, const void*, std::uint32_t) override { return NotFound; }
    void closeKey(Key) override {}
};

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

class DisplayTest : public ::testing::Test {
protected:
    EmptyStore store;
    SaverSettings settings{store};

    void SetUp() override {
        ASSERT_EQ(GLWindow::instance, nullptr);
        resetRunModeGlobals();
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
        if (settings.window != 0) DestroyWindow(reinterpret_cast<HWND>(settings.window));
        UnregisterClassA("tirrans_class", reinterpret_cast<HINSTANCE>(moduleInstance));
        drainMessages();
        globalSettings = nullptr;
        resetRunModeGlobals();
    }

    HWND saverWindow() const { return reinterpret_cast<HWND>(settings.window); }
};

}  // namespace displaytest

// The display host under Wine: the window and its context, the window
// procedure's answers reaching Windows, and the scene's bitmaps and preview.
#include <windows.h>

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "display/win32/SaverScene.h"
#include "display/win32/SaverWindowProc.h"
#include "shell/Exception.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/ProcessState.h"

namespace {

// Empties this thread's queue, quit included; paint messages leave only when dispatched.
inline void drainMessages() {
    MSG message;
    for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (message.message != WM_QUIT) DispatchMessageA(&message);
    }
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

template <typename Window>
struct Inspected : Window {
    std::int32_t windowWidth() const { return this->width; }
    std::int32_t windowHeight() const { return this->height; }
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

    // The window outlives its object, as in the real program: remove it and its class.
    void TearDown() override {
        if (host != nullptr) DestroyWindow(host);  // takes the saver window with it
        if (settings.window != 0) DestroyWindow(saverWindow());
        UnregisterClassA("tirrans_class", reinterpret_cast<HINSTANCE>(moduleInstance));
        drainMessages();
        resetProcessState();
    }

    HWND openHost(int x, int y, int w, int h) {
        host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, w, h, nullptr, nullptr,
                               nullptr, nullptr);
        RunMode = Mode::Preview;
        mainWindowHandle = reinterpret_cast<NativeHandle>(host);
        return host;
    }

    HWND saverWindow() const { return reinterpret_cast<HWND>(settings.window); }
    LRESULT send(UINT message, WPARAM wParam = 0) { return SendMessageA(saverWindow(), message, wParam, 0); }
    void setCursor() {
        SendMessageA(saverWindow(), WM_SETCURSOR, reinterpret_cast<WPARAM>(saverWindow()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
};

bool screenSaverRunning() {
    BOOL running = FALSE;
    return SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) && running;
}

// The monitors as the test lists them: Wine tells of none added or removed.
struct Desk : SaverScene {
    MonitorList monitors;
    MonitorList currentMonitors() const override { return monitors; }
};

TEST_F(DisplayTest, SaverWindowCoversTheScreenWithACurrentContextIsTheOnlyOneAndFollowsTheDesk) {
    ASSERT_FALSE(screenSaverRunning());
    auto window = std::make_unique<Inspected<Desk>>();
    EXPECT_EQ(GLWindow::instance, window.get());
    EXPECT_TRUE(screenSaverRunning());
    const HWND hwnd = saverWindow();
    ASSERT_NE(hwnd, nullptr);

    EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);  // its place is seen end to end
    SwapBuffers(wglGetCurrentDC());  // the driver shows a new swap interval only after a swap
    const auto swapInterval = reinterpret_cast<int(WINAPI*)()>(
        reinterpret_cast<void (*)()>(wglGetProcAddress("wglGetSwapIntervalEXT")));
    EXPECT_EQ(swapInterval != nullptr ? swapInterval() : -1, 1) << "the swap interval (-1: no wglGetSwapIntervalEXT)";
    EXPECT_EQ(std::tuple(window->run.timer.isRunning(), window->run.timer.usesCounter()), std::tuple(true, true));
    const auto baseLessCursor = [&s = settings] {  // known, and no distance from the cursor
        POINT p{};
        GetCursorPos(&p);
        return std::tuple(s.cursorBaseKnown, s.cursorBase.x - p.x, s.cursorBase.y - p.y);
    };
    EXPECT_EQ(baseLessCursor(), std::tuple(true, 0, 0));
    // After WM_DISPLAYCHANGE the next frame covers the monitors listed then, and the
    // cursor's place then (the system may have moved it) is the base of travel.
    for (const std::size_t monitors : {2, 1}) {
        window->monitors = {{{{0, 0, 800, 600}, true, 1}, {{-640, 100, 0, 580}, false, 2}}, monitors};
        settings.cursorBase = {-9999, -9999};
        SendMessageA(hwnd, WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));
        ASSERT_EQ(window->frameStep(), 1);
        RECT rect{};
        GetWindowRect(hwnd, &rect);
        EXPECT_EQ(std::tuple(rect.left, rect.top, rect.right, rect.bottom, window->windowWidth(),
                             window->windowHeight()),
                  std::tuple(monitors == 2 ? -640 : 0, 0, 800, 600, 800, 600));
        EXPECT_EQ(baseLessCursor(), std::tuple(true, 0, 0));
    }

    EXPECT_EQ(failureOf([] { GLWindow second; }), "Multiple instances of Window found.");
    EXPECT_EQ(GLWindow::instance, window.get());

    window.reset();
    EXPECT_EQ(GLWindow::instance, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(screenSaverRunning());
    EXPECT_TRUE(IsWindow(hwnd));  // the window lives on until the process ends
}

// The refused preview hosts are seen end to end. A class taken or a module
// without bitmaps 104 and 114 fails with its own text and leaves no object.
TEST_F(DisplayTest, SetUpFailuresReportTheirTextAndLeaveNoObject) {
    const WNDCLASSA taken{0, DefWindowProcA, 0, 0, reinterpret_cast<HINSTANCE>(moduleInstance), nullptr, nullptr,
                          nullptr, nullptr, "tirrans_class"};
    ASSERT_NE(RegisterClassA(&taken), 0);
    EXPECT_EQ(failureOf([] { GLWindow window; }), "Failed to register class!");
    EXPECT_EQ(GLWindow::instance, nullptr);
    UnregisterClassA("tirrans_class", reinterpret_cast<HINSTANCE>(moduleInstance));

    moduleInstance = reinterpret_cast<NativeHandle>(GetModuleHandleA("kernel32.dll"));
    EXPECT_EQ(failureOf([] { SaverScene scene; }), "Failed to load textures");
    EXPECT_EQ(GLWindow::instance, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    UnregisterClassA("tirrans_class", reinterpret_cast<HINSTANCE>(moduleInstance));
}

// A preview fills its host's outer rectangle and leaves the keyboard to it.
// Wine shows no OpenGL drawn into a child window, so the preview's glow is
// read back from its own context.
TEST_F(DisplayTest, PreviewFillsItsHostAndDrawsTheGlowThere) {
    ASSERT_NE(openHost(40, 30, 320, 240), nullptr);
    Inspected<SaverScene> scene;
    const HWND child = saverWindow();
    ASSERT_NE(child, nullptr);
    SendMessageA(child, WM_DISPLAYCHANGE, 32, MAKELPARAM(800, 600));  // the host decides its size
    scene.frameStep();
    EXPECT_EQ(GetFocus(), host);
    EXPECT_EQ(std::tuple(scene.windowWidth(), scene.windowHeight()), std::tuple(320, 240));  // borders included
    RECT childRect{};
    GetWindowRect(child, &childRect);
    POINT origin{0, 0};
    ClientToScreen(host, &origin);
    EXPECT_EQ(std::tuple(childRect.left, childRect.top, childRect.right - childRect.left),
              std::tuple(origin.x, origin.y, 320));
    // The emitter starts at the view's right edge; by 2.5 seconds its particles are well inside.
    for (int frames = 0; scene.run.timer.elapsedSeconds() < 2.5f && frames < 200000; ++frames) {
        ASSERT_EQ(scene.frameStep(), 1);
    }
    std::vector<unsigned char> pixels(static_cast<std::size_t>(scene.windowWidth()) * scene.windowHeight() * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, scene.windowWidth(), scene.windowHeight(), GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int blueCyan = 0;
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        const int r = pixels[i], g = pixels[i + 1], b = pixels[i + 2];
        if (r + g + b > 60 && b >= g && b > 2 * r + 20) ++blueCyan;
    }
    EXPECT_GT(blueCyan, 20);
}

// Which messages stand for which event; the decisions on events are tested
// natively, and the run ending on input end to end.
TEST(SaverWindowProc, EachMessageStandsForItsEvent) {
    using E = SaverEvent;
    const struct { UINT message; WPARAM wParam; SaverEvent event; } rows[] = {
        {WM_DESTROY, 0, E::Ending}, {WM_CLOSE, 0, E::Ending}, {WM_QUIT, 0, E::Ending},
        {WM_ACTIVATE, WA_INACTIVE, E::Deactivated}, {WM_ACTIVATE, WA_ACTIVE, E::Activated},
        {WM_ACTIVATE, WA_CLICKACTIVE, E::Activated},
        {WM_ACTIVATE, 0x00010000, E::Activated},  // WA_INACTIVE while minimized: not deactivated
        {WM_ACTIVATEAPP, FALSE, E::Deactivated}, {WM_ACTIVATEAPP, TRUE, E::Activated},
        {WM_NCACTIVATE, FALSE, E::Deactivated}, {WM_NCACTIVATE, TRUE, E::Activated},
        {WM_SETCURSOR, 0, E::SetCursor}, {WM_MOUSEMOVE, 0, E::MouseMove},
        {WM_KEYDOWN, 0x41, E::KeyOrButton}, {WM_KEYUP, 0x41, E::KeyOrButton},
        {WM_LBUTTONDOWN, MK_LBUTTON, E::KeyOrButton}, {WM_RBUTTONDOWN, MK_RBUTTON, E::KeyOrButton},
        {WM_MBUTTONDOWN, MK_MBUTTON, E::KeyOrButton},
        {WM_SYSCOMMAND, SC_SCREENSAVE, E::SystemCommand}, {WM_SYSCOMMAND, SC_CLOSE, E::SystemCommand},
        // Alt+key and F10, button releases, double clicks and the wheel pass on.
        {WM_SYSKEYDOWN, 0x41, E::Other}, {WM_SYSKEYUP, 0x41, E::Other}, {WM_LBUTTONUP, 0, E::Other},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, E::Other}, {WM_RBUTTONUP, 0, E::Other}, {WM_MOUSEWHEEL, 0x00780000, E::Other},
        {WM_PAINT, 0, E::Other}, {WM_CHAR, 0x41, E::Other},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(translateMessage(row.message, row.wParam), row.event) << std::hex << row.message << " " << row.wParam;
    }
#ifdef _WIN64
    EXPECT_EQ(translateMessage(WM_ACTIVATEAPP, WPARAM{1} << 32), E::Activated);  // the whole wParam counts
#endif
}

// The saver hides the cursor and lets no system close through. Windows
// reports the display going off (another setting says nothing of it) and the
// session going away to the window; the pacer hears each, so no frame is
// drawn until all are back (a dimmed display is seen). That the loop then
// draws nothing is seen end to end, in a hidden preview.
TEST_F(DisplayTest, SaverHidesTheCursorIgnoresASystemCloseAndTellsThePacerWhoCanSee) {
    GLWindow window;
    drainMessages();
    setCursor();
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_CLOSE), 0);
    EXPECT_EQ(settings.closeRequested, 0);
    const HWND saver = saverWindow();
    const auto power = [saver](DWORD state, const GUID& which = GUID_CONSOLE_DISPLAY_STATE) {
        struct { POWERBROADCAST_SETTING setting; DWORD room; } sent{{which, sizeof state, {}}, 0};  // Data: one byte
        CopyMemory(sent.setting.Data, &state, sizeof state);
        SendMessageA(saver, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&sent));
    };
    const auto session = [saver](WPARAM change) { SendMessageA(saver, WM_WTSSESSION_CHANGE, change, 0); };
    ASSERT_TRUE(window.run.anyoneCanSee());
    power(0);
    power(1, GUID_ACDC_POWER_SOURCE);
    EXPECT_FALSE(window.run.anyoneCanSee());
    session(WTS_SESSION_LOCK);
    power(2);
    EXPECT_FALSE(window.run.anyoneCanSee());
    session(WTS_SESSION_UNLOCK);
    EXPECT_TRUE(window.run.anyoneCanSee());
    for (const WPARAM away : {WTS_CONSOLE_DISCONNECT, WTS_REMOTE_DISCONNECT}) {
        session(away);
        EXPECT_FALSE(window.run.anyoneCanSee());
        session(away - 1);  // its connect
        EXPECT_TRUE(window.run.anyoneCanSee());
    }
    // A close is answered, not passed on: the window lives until the process ends.
    EXPECT_EQ(send(WM_CLOSE), 0);
    EXPECT_TRUE(IsWindow(saver));
}

// The cursor and a posted WM_CLOSE must reach Windows on a live window; a
// key or a close ending the run is seen end to end.
TEST_F(DisplayTest, PreviewDeactivationPostsACloseAndShowsTheArrow) {
    openHost(0, 0, 200, 150);
    GLWindow window;
    drainMessages();
    setCursor();
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_EQ(send(WM_NCACTIVATE, FALSE), 0);
    MSG close;
    EXPECT_NE(settings.closeRequested, 0);
    EXPECT_TRUE(PeekMessageA(&close, saverWindow(), WM_CLOSE, WM_CLOSE, PM_NOREMOVE)) << "no WM_CLOSE posted";
}

}  // namespace

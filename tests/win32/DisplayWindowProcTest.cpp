#include <windows.h>

#include <memory>

#include "DisplayTestSupport.h"
#include "display/win32/GLWindow.h"
#include "display/win32/SaverWindowProc.h"

namespace {

using displaytest::DisplayTest;
using displaytest::drainMessages;
using displaytest::messageWaiting;

// Moves the cursor and waits until the system reports it there: under Wine
// the move reaches the X server first.
void placeCursor(int x, int y) {
    SetCursorPos(x, y);
    for (int i = 0; i < 100; ++i) {
        POINT at{};
        if (GetCursorPos(&at) && at.x == x && at.y == y) return;
        Sleep(10);
    }
    ADD_FAILURE() << "cursor did not reach " << x << "," << y;
}

// A live saver window; the test sends it real messages.
class DisplayWindowProc : public DisplayTest {
protected:
    std::unique_ptr<GLWindow> window;

    void open(std::int32_t mode) {
        RunMode = mode;
        HWND host = nullptr;
        if (mode == Mode::Preview) {
            host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                   150, nullptr, nullptr, nullptr, nullptr);
            mainWindowHandle = reinterpret_cast<NativeHandle>(host);
        }
        window = std::make_unique<GLWindow>();
        hostWindow = host;
        drainMessages();
        settings.closeRequested = 0;
    }
    void TearDown() override {
        window.reset();
        if (hostWindow != nullptr) {
            DestroyWindow(hostWindow);
            hostWindow = nullptr;
            settings.window = 0;
        }
        DisplayTest::TearDown();
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(saverWindow(), message, wParam, lParam);
    }
    bool closeWasRequested() {
        return settings.closeRequested != 0 && messageWaiting(WM_CLOSE, saverWindow());
    }

    HWND hostWindow = nullptr;
};

// Which messages close is decided (and tested) natively; here the decisions
// must reach Windows: a posted WM_CLOSE, the quit message, the cursor.
TEST_F(DisplayWindowProc, PreviewDeactivationPostsACloseAndShowsTheArrow) {
    open(Mode::Preview);
    send(WM_SETCURSOR, reinterpret_cast<WPARAM>(saverWindow()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_EQ(send(WM_NCACTIVATE, FALSE), 0);
    EXPECT_TRUE(closeWasRequested());
}

TEST_F(DisplayWindowProc, SaverHidesTheCursorClosesOnAKeyAndQuitsOnClose) {
    open(Mode::Saver);
    send(WM_SETCURSOR, reinterpret_cast<WPARAM>(saverWindow()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_CLOSE), 0);
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_SCREENSAVE), 0);
    EXPECT_FALSE(messageWaiting(WM_QUIT));
    EXPECT_FALSE(closeWasRequested());

    EXPECT_EQ(send(WM_KEYDOWN, 0x41), 0);
    EXPECT_TRUE(closeWasRequested());
    EXPECT_EQ(send(WM_CLOSE), 0);
    EXPECT_TRUE(messageWaiting(WM_QUIT));
    EXPECT_TRUE(IsWindow(saverWindow()));  // not destroyed by the close
}

TEST_F(DisplayWindowProc, MouseTravelCountsOnlyAfterHalfASecond) {
    open(Mode::Saver);
    const POINT base{settings.cursorBase.x, settings.cursorBase.y};
    placeCursor(base.x + 200, base.y);
    send(WM_MOUSEMOVE);
    EXPECT_FALSE(closeWasRequested());  // the timer has not passed 0.5 s
    Sleep(600);
    window->timer.tick();
    placeCursor(base.x + 50, base.y);
    send(WM_MOUSEMOVE);
    EXPECT_FALSE(closeWasRequested());
    placeCursor(base.x + 51, base.y);
    send(WM_MOUSEMOVE);
    EXPECT_TRUE(closeWasRequested());
    placeCursor(base.x, base.y);
}

TEST_F(DisplayWindowProc, WithoutTheSettingsOrTheObjectNothingEndsARun) {
    open(Mode::Saver);
    const HWND hwnd = saverWindow();
    globalSettings = nullptr;
    EXPECT_EQ(send(WM_KEYDOWN, 0x41), 0);
    EXPECT_FALSE(messageWaiting(WM_CLOSE));
    globalSettings = &settings;

    window.reset();
    // As while the error box runs: input and deactivation reach the window,
    // but nothing posts a close or quit into the box's message loop.
    Sleep(600);
    SendMessageA(hwnd, WM_KEYDOWN, 0x41, 0);
    SendMessageA(hwnd, WM_ACTIVATEAPP, FALSE, 0);
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, 0);
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_EQ(settings.closeRequested, 0);
    EXPECT_FALSE(messageWaiting(WM_CLOSE));
    EXPECT_FALSE(messageWaiting(WM_QUIT));

    globalSettings = nullptr;  // and without a settings record
    SendMessageA(hwnd, WM_KEYDOWN, 0x41, 0);
    EXPECT_FALSE(messageWaiting(WM_CLOSE));
    globalSettings = &settings;
}

}  // namespace

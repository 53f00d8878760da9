#include <windows.h>

#include <memory>

#include "DisplayTestSupport.h"
#include "display/win32/GLWindow.h"
#include "display/win32/SaverWindowProc.h"

namespace {

using displaytest::messageWaiting;

// A live saver window; the test sends it real messages. Which messages close
// is decided (and tested) natively, and mouse travel with the real cursor and
// clock end to end; here each kind of decision must reach Windows: a posted
// WM_CLOSE, the quit message, the cursor.
class DisplayWindowProc : public displaytest::DisplayTest {
protected:
    std::unique_ptr<GLWindow> window;

    void open(std::int32_t mode) {
        if (mode == Mode::Preview) openHost(0, 0, 200, 150);
        window = std::make_unique<GLWindow>();
        displaytest::drainMessages();
        settings.closeRequested = 0;
    }
    void TearDown() override {
        window.reset();
        DisplayTest::TearDown();
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(saverWindow(), message, wParam, lParam);
    }
    LRESULT sendSetCursor() {
        return send(WM_SETCURSOR, reinterpret_cast<WPARAM>(saverWindow()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
    bool closeWasRequested() { return settings.closeRequested != 0 && messageWaiting(WM_CLOSE, saverWindow()); }
};

TEST_F(DisplayWindowProc, PreviewDeactivationPostsACloseAndShowsTheArrow) {
    open(Mode::Preview);
    sendSetCursor();
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_EQ(send(WM_NCACTIVATE, FALSE), 0);
    EXPECT_TRUE(closeWasRequested());
}

TEST_F(DisplayWindowProc, SaverHidesTheCursorClosesOnAKeyAndQuitsOnClose) {
    open(Mode::Saver);
    sendSetCursor();
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
    for (const UINT message : {WM_KEYDOWN, WM_ACTIVATEAPP, WM_MOUSEMOVE, WM_CLOSE}) {
        SendMessageA(hwnd, message, message == WM_KEYDOWN ? 0x41 : 0, 0);
    }
    EXPECT_EQ(settings.closeRequested, 0);
    EXPECT_FALSE(messageWaiting(WM_CLOSE));
    EXPECT_FALSE(messageWaiting(WM_QUIT));
}

}  // namespace

#include <windows.h>

#include <memory>

#include "DisplayTestSupport.h"
#include "display/win32/GLWindow.h"

namespace {

using displaytest::drainMessages;
using displaytest::failureOf;
using displaytest::messageWaiting;
using InspectedWindow = displaytest::Inspected<GLWindow>;

bool screenSaverRunning() {
    BOOL running = FALSE;
    return SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0) && running;
}

class GLWindowTest : public displaytest::DisplayTest {};

TEST_F(GLWindowTest, SaverWindowCoversTheScreenWithACurrentContextAndIsTheOnlyOne) {
    ASSERT_FALSE(screenSaverRunning());
    auto window = std::make_unique<InspectedWindow>();
    EXPECT_EQ(GLWindow::instance, window.get());
    EXPECT_TRUE(screenSaverRunning());
    const HWND hwnd = saverWindow();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(mainWindowHandle), hwnd);

    EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);  // its place is seen end to end

    EXPECT_EQ(wglGetCurrentDC(), window->context());  // what it draws is seen end to end

    EXPECT_TRUE(window->timer.isRunning());
    EXPECT_TRUE(settings.cursorBaseKnown);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(settings.cursorBase.x, cursor.x);
    EXPECT_EQ(settings.cursorBase.y, cursor.y);

    // A second object is refused and leaves the live one in place.
    EXPECT_EQ(failureOf([] { GLWindow second; }), "Multiple instances of Window found.");
    EXPECT_EQ(GLWindow::instance, window.get());

    window.reset();
    EXPECT_EQ(GLWindow::instance, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_FALSE(screenSaverRunning());
    EXPECT_TRUE(IsWindow(hwnd));  // the window lives on until the process ends
}

TEST_F(GLWindowTest, FailuresReportTheirTextAndLeaveNoObject) {
    // No window, or a hidden one, cannot show a preview that ever ends (the
    // message-only parent and the desktop are refused end to end).
    const HWND hidden = CreateWindowExA(0, "STATIC", "hidden", WS_OVERLAPPEDWINDOW, 0, 0, 200, 150, nullptr,
                                        nullptr, nullptr, nullptr);
    RunMode = Mode::Preview;
    for (const HWND refused : {reinterpret_cast<HWND>(12345), hidden}) {
        UnregisterClassA("tirrans_class", reinterpret_cast<HINSTANCE>(moduleInstance));
        mainWindowHandle = reinterpret_cast<NativeHandle>(refused);
        EXPECT_EQ(failureOf([] { GLWindow window; }), "Failed to create window...") << refused;
        EXPECT_EQ(GLWindow::instance, nullptr);
        EXPECT_EQ(mainWindowHandle, 0u);
        EXPECT_EQ(wglGetCurrentContext(), nullptr);
    }
    DestroyWindow(hidden);

    RunMode = Mode::Saver;
    UnregisterClassA("tirrans_class", reinterpret_cast<HINSTANCE>(moduleInstance));
    WNDCLASSEXA taken{};
    taken.cbSize = sizeof taken;
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = reinterpret_cast<HINSTANCE>(moduleInstance);
    taken.lpszClassName = "tirrans_class";
    ASSERT_NE(RegisterClassExA(&taken), 0);
    EXPECT_EQ(failureOf([] { GLWindow window; }), "Failed to register class!");
    EXPECT_EQ(GLWindow::instance, nullptr);
}

TEST_F(GLWindowTest, PreviewFillsTheHostsOuterRectangle) {
    ASSERT_NE(openHost(40, 30, 300, 220), nullptr);
    SetFocus(host);
    InspectedWindow window;
    EXPECT_EQ(GetFocus(), host);  // the keyboard stays with the host's dialog
    const HWND child = saverWindow();
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), host);
    EXPECT_TRUE(GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(window.windowWidth(), 300);  // borders and caption included
    EXPECT_EQ(window.windowHeight(), 220);
    RECT childRect{};
    GetWindowRect(child, &childRect);
    POINT origin{0, 0};
    ClientToScreen(host, &origin);
    EXPECT_EQ(childRect.left, origin.x);
    EXPECT_EQ(childRect.top, origin.y);
    EXPECT_EQ(childRect.right - childRect.left, 300);
}

}  // namespace

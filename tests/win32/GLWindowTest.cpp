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

    EXPECT_EQ(window->windowWidth(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(window->windowHeight(), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(hwnd));

    EXPECT_EQ(wglGetCurrentDC(), window->context());
    EXPECT_NE(wglGetCurrentContext(), nullptr);
    PIXELFORMATDESCRIPTOR format{};
    DescribePixelFormat(window->context(), GetPixelFormat(window->context()), sizeof format, &format);
    EXPECT_EQ(format.dwFlags & (PFD_DOUBLEBUFFER | PFD_SUPPORT_OPENGL), DWORD{PFD_DOUBLEBUFFER | PFD_SUPPORT_OPENGL});

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
    // No window, the message-only parent (also as its 32-bit number), the
    // desktop and a hidden window: none can show a preview that ever ends.
    const HWND hidden = CreateWindowExA(0, "STATIC", "hidden", WS_OVERLAPPEDWINDOW, 0, 0, 200, 150, nullptr,
                                        nullptr, nullptr, nullptr);
    RunMode = Mode::Preview;
    for (const HWND refused : {reinterpret_cast<HWND>(12345), HWND_MESSAGE,
                               reinterpret_cast<HWND>(static_cast<INT_PTR>(4294967293u)), GetDesktopWindow(),
                               hidden}) {
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

TEST_F(GLWindowTest, PumpHandlesOneMessageAtATimeAndStopsAtQuit) {
    GLWindow window;
    drainMessages();
    PostMessageA(saverWindow(), WM_USER, 0, 0);
    PostQuitMessage(0);
    const std::int32_t before = window.timer.framesSinceReset();
    EXPECT_EQ(window.pumpMessages(), 1);  // WM_USER, or something the system put first
    EXPECT_TRUE(messageWaiting(WM_QUIT));
    int calls = 2;
    while (window.pumpMessages() != 0 && calls < 50) ++calls;
    EXPECT_LT(calls, 50);
    EXPECT_FALSE(messageWaiting(WM_QUIT));
    // The timer was ticked in every call, the one that took the quit included.
    EXPECT_EQ(window.timer.framesSinceReset(), before + calls);
}

}  // namespace

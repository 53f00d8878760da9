#include <windows.h>

#include <memory>
#include <string>

#include "DisplayTestSupport.h"
#include "display/win32/GLWindow.h"
#include "shell/Exception.h"

namespace {

using displaytest::DisplayTest;
using displaytest::drainMessages;
using displaytest::messageWaiting;

// Exposes the window's size fields.
class InspectedWindow : public GLWindow {
public:
    std::int32_t windowWidth() const { return width; }
    std::int32_t windowHeight() const { return height; }
    HDC context() const { return deviceContext; }
};

std::string failureOf(void (*make)()) {
    try {
        make();
    } catch (const Exception& e) {
        return e.message();
    }
    return "nothing thrown";
}

class GLWindowTest : public DisplayTest {};

TEST_F(GLWindowTest, SaverWindowCoversTheScreenWithACurrentContext) {
    auto window = std::make_unique<InspectedWindow>();
    EXPECT_EQ(GLWindow::instance, window.get());
    const HWND hwnd = saverWindow();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(mainWindowHandle), hwnd);

    char className[64] = {};
    GetClassNameA(hwnd, className, sizeof className);
    EXPECT_STREQ(className, "tirrans_class");
    char title[64] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    EXPECT_STREQ(title, "Tirrans");

    EXPECT_EQ(window->windowWidth(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(window->windowHeight(), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(GetWindowLongPtrA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(hwnd));

    EXPECT_NE(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(wglGetCurrentDC(), window->context());
    PIXELFORMATDESCRIPTOR format{};
    DescribePixelFormat(window->context(), GetPixelFormat(window->context()), sizeof format, &format);
    EXPECT_TRUE(format.dwFlags & PFD_DOUBLEBUFFER);
    EXPECT_TRUE(format.dwFlags & PFD_SUPPORT_OPENGL);

    EXPECT_TRUE(window->timer.isRunning());
    EXPECT_TRUE(window->cursorBaseRecorded());
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(settings.cursorBase.x, cursor.x);
    EXPECT_EQ(settings.cursorBase.y, cursor.y);

    window.reset();
    EXPECT_EQ(GLWindow::instance, nullptr);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_TRUE(IsWindow(hwnd));  // the window lives on until the process ends
}

TEST_F(GLWindowTest, ASecondWindowObjectIsRefused) {
    auto first = std::make_unique<GLWindow>();
    EXPECT_EQ(failureOf([] { GLWindow second; }), "Multiple instances of Window found.");
    // The refusal leaves the live object in place.
    EXPECT_EQ(GLWindow::instance, first.get());
    first.reset();
    EXPECT_EQ(GLWindow::instance, nullptr);
}

TEST_F(GLWindowTest, PreviewWithoutAHostWindowFailsAndLeavesNoObject) {
    RunMode = Mode::Preview;
    mainWindowHandle = 12345;  // names no window
    EXPECT_EQ(failureOf([] { GLWindow window; }), "Failed to create window...");
    EXPECT_EQ(GLWindow::instance, nullptr);
    EXPECT_EQ(mainWindowHandle, 0u);
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    // The error box that follows may still send messages to the procedure.
    settings.window = 0;
}

TEST_F(GLWindowTest, ClassRegisteredElsewhereIsReported) {
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
    const HWND host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30,
                                      300, 220, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    RunMode = Mode::Preview;
    mainWindowHandle = reinterpret_cast<NativeHandle>(host);
    {
        InspectedWindow window;
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
    DestroyWindow(host);  // takes the child with it
    settings.window = 0;
}

TEST_F(GLWindowTest, PumpHandlesOneMessageAtATimeAndStopsAtQuit) {
    GLWindow window;
    drainMessages();
    PostMessageA(saverWindow(), WM_USER, 0, 0);
    PostQuitMessage(0);
    const std::int32_t before = window.timer.framesSinceReset();
    int calls = 1;
    EXPECT_EQ(window.pumpMessages(), 1);  // WM_USER, or something the system put first
    EXPECT_TRUE(messageWaiting(WM_QUIT));
    while (window.pumpMessages() != 0 && calls < 50) ++calls;
    ++calls;
    EXPECT_LT(calls, 50);
    EXPECT_FALSE(messageWaiting(WM_QUIT));
    // The timer was ticked in every call, the one that took the quit included.
    EXPECT_EQ(window.timer.framesSinceReset(), before + calls);
}

TEST_F(GLWindowTest, SaverModeRaisesTheScreenSaverRunningFlagForItsLifetime) {
    BOOL running = FALSE;
    if (!SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0)) {
        GTEST_SKIP() << "this system does not report the flag";
    }
    ASSERT_FALSE(running);
    {
        GLWindow window;
        SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
        EXPECT_TRUE(running);
    }
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    EXPECT_FALSE(running);
}

}  // namespace

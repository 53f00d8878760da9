// The drawing modes of lumra.scr as a user sees them: the glow, the input
// that ends a run, a preview host, and the start-up failure box.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace {

constexpr DWORD startTimeoutMs = 10000;
constexpr DWORD endTimeoutMs = 2000;

// Of the screen's pixels inside rect (every fourth on both axes), those lit
// and those lit blue-cyan: blue leading, with little red.
struct Picture {
    int lit = 0, blueCyan = 0;
    bool glows() const { return lit >= 20 && blueCyan * 10 >= lit * 9; }
};

Picture lookAt(const RECT& rect) {
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height /* top row first */, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 4);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    Picture picture;
    for (int y = 0; y < height; y += 4) {
        for (int x = 0; x < width; x += 4) {
            const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 4];  // blue, green, red
            const bool lit = p[0] + p[1] + p[2] > 60;
            picture.lit += lit;
            picture.blueCyan += lit && p[0] >= p[1] && p[0] > 2 * p[2] + 20;
        }
    }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

// The move must have landed, or the travel checked is not the travel meant.
void moveCursorTo(int x, int y) {
    EXPECT_TRUE(e2e::moveMouseTo(x, y)) << "cursor did not reach " << x << "," << y;
}

void pumpFor(DWORD ms) {
    e2e::pollUntil(ms, [] { return false; });
}

class DisplayE2e : public ::testing::Test {
protected:
    // Where the cursor rests when a saver starts: the base of mouse travel.
    static constexpr int restX = 400;
    static constexpr int restY = 300;

    void SetUp() override { moveCursorTo(restX, restY); }

    // Every test leaves no saver window or error box behind.
    void TearDown() override {
        EXPECT_EQ(e2e::waitForWindow("tirrans_class", "Tirrans", 0), nullptr);
        EXPECT_EQ(FindWindowA("#32770", "Saver Error"), nullptr);
    }

    // Starts "/s" and waits for its full-screen window.
    static HWND startSaver(e2e::SaverProcess& saver) {
        EXPECT_TRUE(saver.started());
        return e2e::waitForWindow("tirrans_class", "Tirrans", startTimeoutMs);
    }

    static void expectEndsWithZero(e2e::SaverProcess& saver) {
        DWORD code = 1234;
        ASSERT_TRUE(e2e::pollUntil(endTimeoutMs, [&] { return saver.waitForExit(0, code); })) << "still running";
        EXPECT_EQ(code, 0u);
    }
};

TEST_F(DisplayE2e, SaverCoversTheScreenWithTheGlowAndEndsOnAKeyOrAClick) {
    for (const bool key : {true, false}) {
        SCOPED_TRACE(key ? "key" : "click");
        e2e::SaverProcess saver("/s");
        const HWND window = startSaver(saver);
        ASSERT_NE(window, nullptr);
        if (key) {
            RECT rect{};
            GetWindowRect(window, &rect);
            EXPECT_EQ(std::tuple(rect.left, rect.top, rect.right, rect.bottom),
                      std::tuple(0L, 0L, LONG{GetSystemMetrics(SM_CXSCREEN)}, LONG{GetSystemMetrics(SM_CYSCREEN)}));
            Picture picture;
            EXPECT_TRUE(e2e::pollUntil(2000, [&] { return (picture = lookAt(rect)).glows(); }, 100))
                << picture.blueCyan << " of " << picture.lit << " lit pixels are blue-cyan";
        }
        SetForegroundWindow(window);
        key ? e2e::pressKey(VK_SPACE) : e2e::leftClick();
        expectEndsWithZero(saver);
    }
}

// A stored threshold of no bytes is no threshold: the default of 50 applies.
TEST_F(DisplayE2e, SaverEndsOnlyWhenTheMouseTravelsBeyondTheThreshold) {
    ASSERT_TRUE(e2e::storeValue(e2e::systemKey, "Mouse Threshold", REG_DWORD, nullptr, 0));
    e2e::SaverProcess saver("/s");
    ASSERT_NE(startSaver(saver), nullptr);
    pumpFor(1000);  // past the first half second
    moveCursorTo(restX + 50, restY);
    moveCursorTo(restX - 50, restY + 50);
    moveCursorTo(restX + 40, restY + 40);
    moveCursorTo(restX - 40, restY - 40);
    pumpFor(800);
    ASSERT_TRUE(saver.running()) << "ended on travel within the threshold";
    moveCursorTo(restX + 51, restY);
    expectEndsWithZero(saver);
    e2e::storeValue(e2e::systemKey, "Mouse Threshold", REG_NONE, nullptr, 0);
}

TEST_F(DisplayE2e, PreviewDrawsInsideItsHostAndEndsWithIt) {
    const HWND host = CreateWindowExA(0, "STATIC", "Preview host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                                      100, 100, 320, 240, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    pumpFor(100);
    e2e::SaverProcess saver("/p " + std::to_string(reinterpret_cast<std::uintptr_t>(host)));
    HWND child = nullptr;
    e2e::pollUntil(startTimeoutMs, [&] { return (child = FindWindowExA(host, nullptr, "tirrans_class", "Tirrans")); });
    ASSERT_NE(child, nullptr) << "no preview window inside the host";
    EXPECT_EQ(e2e::waitForWindow("tirrans_class", "Tirrans", 0), nullptr);  // nothing shows outside the host
    // Wine 8 does not show OpenGL drawn into a child window (the Windows tests
    // read the preview's frame back); what shows is that it keeps running.
    pumpFor(1500);
    EXPECT_TRUE(saver.running());
    EXPECT_TRUE(IsWindow(child));
    DestroyWindow(host);
    expectEndsWithZero(saver);
}

// One "Saver Error" box, on top and waiting for the user, reading text; it
// goes away on a click on OK or on Enter (the box must have the focus), and
// the program then ends with 255.
void expectErrorBoxThenExit255(e2e::SaverProcess& saver, const char* text, bool click) {
    const HWND box = e2e::waitForWindow("#32770", "Saver Error", startTimeoutMs);
    ASSERT_NE(box, nullptr) << "no error box";
    char shown[256] = {};
    GetDlgItemTextA(box, 0xFFFF, shown, sizeof shown);  // the message's static control
    EXPECT_STREQ(shown, text);
    EXPECT_EQ(FindWindowA("tirrans_class", nullptr), nullptr) << "the saver window outlived its failure";
    EXPECT_TRUE(e2e::pollUntil(2000, [&] { return GetForegroundWindow() == box; })) << "the box has no focus";
    Sleep(300);
    EXPECT_TRUE(saver.running()) << "did not wait for the user";
    click ? e2e::clickWindow(GetDlgItem(box, IDOK)) : e2e::pressKey(VK_RETURN);
    DWORD code = 0;
    ASSERT_TRUE(saver.waitForExit(endTimeoutMs, code)) << "the box would not go away";
    EXPECT_EQ(code, 255u);
}

// A host that is no window, the message-only parent (also as its 32-bit
// number) or the desktop could never show a preview that ends.
TEST_F(DisplayE2e, PreviewWithoutAUsableHostShowsOneErrorBoxAndExits255) {
    const std::string desktop = std::to_string(reinterpret_cast<std::uintptr_t>(GetDesktopWindow()));
    for (const std::string host : {"12345", "-3", "4294967293", desktop.c_str()}) {
        SCOPED_TRACE(host);
        e2e::SaverProcess saver("/p " + host);
        expectErrorBoxThenExit255(saver, "Failed to create window...", host == desktop);
    }
}

// Runs only in a session whose X server has no GLX (the e2e-noglx test), where
// the window is made but no pixel format or context can be.
TEST(NoGlx, SaverFailureBoxIsVisibleFocusedAndDismissed) {
    for (const bool click : {true, false}) {
        SCOPED_TRACE(click ? "click" : "Enter");
        e2e::SaverProcess saver("/s");
        expectErrorBoxThenExit255(saver, "Can't find a suitable pixelformat.", click);
    }
}

}  // namespace

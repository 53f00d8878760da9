// The drawing modes of lumra.scr as a user sees them: the glow on every
// monitor, the input that ends a run, the preview as the screen-saver
// settings page drives it, and the start-up failure box.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace {

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

class DisplayE2e : public ::testing::Test {
protected:
    // Where the cursor rests when a saver starts: the base of mouse travel.
    static constexpr int restX = 400;
    static constexpr int restY = 300;

    void SetUp() override { EXPECT_TRUE(e2e::moveMouseTo(restX, restY)); }

    static void expectGlow(const RECT& rect) {
        Picture picture;
        EXPECT_TRUE(e2e::pollUntil(e2e::patienceMs, [&] { return (picture = lookAt(rect)).glows(); }, 100))
            << picture.blueCyan << " of " << picture.lit << " lit pixels are blue-cyan";
    }
};

BOOL CALLBACK addMonitor(HMONITOR, HDC, LPRECT area, LPARAM list) {
    reinterpret_cast<std::vector<RECT>*>(list)->push_back(*area);
    return TRUE;
}

// On as many monitors as the session has (LUMRA_MONITORS lists them; the e2e-
// monitors test runs this with two, the secondary left of the primary); on one, a resolution change and back.
TEST_F(DisplayE2e, SaverCoversEveryMonitorWithTheGlowAndEndsOnAKeyOrAClick) {
    std::vector<RECT> monitors;
    EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
    const std::string desk = std::getenv("LUMRA_MONITORS") ? std::getenv("LUMRA_MONITORS") : "1x1";
    ASSERT_EQ(monitors.size(), static_cast<std::size_t>(std::count(desk.begin(), desk.end(), 'x')));
    DEVMODEA smaller{};
    smaller.dmSize = sizeof smaller;
    smaller.dmPelsWidth = 800, smaller.dmPelsHeight = 600, smaller.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    for (const bool key : {true, false}) {
        SCOPED_TRACE(key ? "key" : "click");
        e2e::SaverProcess saver("/s");
        const HWND window = e2e::waitForWindow("tirrans_class", "Tirrans");
        ASSERT_NE(window, nullptr);
        for (int change = 0; key && change < (monitors.size() == 1 ? 3 : 1); ++change) {
            if (change > 0) {  // to 800x600, then back to the desktop's own size
                ASSERT_EQ(ChangeDisplaySettingsExA(nullptr, change == 1 ? &smaller : nullptr, nullptr,
                                                   change == 1 ? CDS_FULLSCREEN : 0, nullptr), 0);
                monitors = {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
            }
            const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
            const RECT screen{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                              top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
            RECT rect{};
            EXPECT_TRUE(e2e::pollUntil(e2e::patienceMs,
                                       [&] { return GetWindowRect(window, &rect) && EqualRect(&rect, &screen); }))
                << "the window covers " << rect.left << "," << rect.top << " to " << rect.right << "," << rect.bottom;
            for (const RECT& monitor : monitors) {
                SCOPED_TRACE(testing::Message() << "monitor at " << monitor.left << "," << monitor.top);
                expectGlow(monitor);
                const RECT below{monitor.left, monitor.bottom, monitor.right, screen.bottom};  // no monitor's: black
                EXPECT_EQ(below.top < below.bottom ? lookAt(below).lit : 0, 0) << "pixels lit below it";
            }
        }
        // Input reaches the saver once it holds the focus.
        ASSERT_TRUE(e2e::waitUntilFocused(window));
        key ? e2e::pressKey(VK_SPACE) : e2e::leftClickAt(restX, restY);
        EXPECT_TRUE(saver.endsWith(0));
    }
}

// A stored threshold of no bytes is no threshold: the default of 50 applies.
// Its clock starts before its first frame shows: half a second after the glow
// is seen, its first half second, when travel does not count, is over.
TEST_F(DisplayE2e, SaverEndsOnlyWhenTheMouseTravelsBeyondTheThreshold) {
    ASSERT_TRUE(e2e::storeValue(e2e::systemKey, "Mouse Threshold", REG_DWORD, nullptr, 0));
    e2e::SaverProcess saver("/s");
    ASSERT_NE(e2e::waitForWindow("tirrans_class", "Tirrans"), nullptr);
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    expectGlow(screen);
    const DWORD glowing = GetTickCount();
    e2e::pollUntil(e2e::patienceMs, [&] { return GetTickCount() - glowing > 500; });
    EXPECT_TRUE(e2e::moveMouseTo(restX + 50, restY));
    EXPECT_TRUE(e2e::moveMouseTo(restX - 50, restY + 50));
    Picture last = lookAt(screen);
    int changes = 0;  // each frame handles a waiting message before it draws
    EXPECT_TRUE(e2e::pollUntil(e2e::patienceMs, [&] {
        const Picture before = std::exchange(last, lookAt(screen));
        return (changes += before.lit != last.lit || before.blueCyan != last.blueCyan) >= 5;
    })) << "the picture changed only " << changes << " times";
    ASSERT_TRUE(saver.running()) << "ended on travel within the threshold";
    // Two steps beyond it: the place the cursor is left at is one or the other.
    EXPECT_TRUE(e2e::moveMouseTo(restX + 51, restY));
    EXPECT_TRUE(e2e::moveMouseTo(restX + 51, restY - 51));
    EXPECT_TRUE(saver.endsWith(0));
    RegDeleteKeyValueA(HKEY_CURRENT_USER, e2e::systemKey, "Mouse Threshold");
}

// The settings page starts the preview on its monitor control while the page
// is still hidden, kills it for "Settings..." (or another selection) and
// starts it again, and leaves it to end by itself when the page goes.
TEST_F(DisplayE2e, PreviewFollowsTheSettingsPageFromBeforeItShowsUntilItGoes) {
    const HWND page = CreateWindowExA(0, "STATIC", "Screen Saver Settings", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                      100, 100, 400, 300, nullptr, nullptr, nullptr, nullptr);
    const HWND monitor = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 120, 20, 152, 112,
                                         page, nullptr, nullptr, nullptr);
    ASSERT_NE(monitor, nullptr);
    const auto previewWindow = [&] { return FindWindowExA(monitor, nullptr, "tirrans_class", "Tirrans"); };
    const auto shown = [&] { return IsWindowVisible(previewWindow()); };

    // The page shows only once the preview has made its window, or failed to.
    auto preview = std::make_unique<e2e::SaverProcess>("/p " + e2e::handleText(monitor));
    e2e::pollUntil(e2e::patienceMs,
                   [&] { return previewWindow() || FindWindowA("#32770", "Saver Error") || !preview->running(); });
    ASSERT_NE(previewWindow(), nullptr) << "no preview under the hidden page";
    // That it then draws, and goes on, is counted from outside (check-pacing).
    ShowWindow(page, SW_SHOW);
    ASSERT_TRUE(e2e::pollUntil(e2e::patienceMs, shown));

    // "Settings...": the dialog belongs to the page, which goes on handling its messages meanwhile.
    EXPECT_TRUE(preview->kill());
    {
        e2e::SaverProcess settings("/c:" + e2e::handleText(page));
        const HWND dialog = e2e::waitForWindow("#32770", "Saver Setup");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), page);
        ASSERT_TRUE(e2e::waitUntilFocused(GetDlgItem(dialog, IDOK)));
        e2e::pressKey(VK_ESCAPE);
        EXPECT_TRUE(settings.endsWith(0));
    }
    preview = std::make_unique<e2e::SaverProcess>("/p " + e2e::handleText(monitor));
    ASSERT_TRUE(e2e::pollUntil(e2e::patienceMs, shown));

    DestroyWindow(page);
    EXPECT_TRUE(preview->endsWith(0));
}

// One "Saver Error" box, on top and waiting for the user, reading text: once
// its loop first waits for input, nothing has dismissed it unread. It goes
// away on a click on OK or on Enter (the box must have the focus), and the
// program then ends with 255.
void expectErrorBoxThenExit255(e2e::SaverProcess& saver, const char* text, bool click) {
    const HWND box = e2e::waitForWindow("#32770", "Saver Error");
    ASSERT_NE(box, nullptr) << "no error box";
    char shown[256] = {};
    GetDlgItemTextA(box, 0xFFFF, shown, sizeof shown);  // the message's static control
    EXPECT_STREQ(shown, text);
    EXPECT_EQ(FindWindowA("tirrans_class", nullptr), nullptr) << "the saver window outlived its failure";
    ASSERT_TRUE(e2e::waitUntilFocused(GetDlgItem(box, IDOK)));
    ASSERT_EQ(saver.waitUntilIdle(), WAIT_OBJECT_0) << "the box's loop never waited for input";
    EXPECT_TRUE(IsWindowVisible(box)) << "dismissed unread";
    RECT ok{};
    GetWindowRect(GetDlgItem(box, IDOK), &ok);
    click ? e2e::leftClickAt((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2) : e2e::pressKey(VK_RETURN);
    EXPECT_TRUE(saver.endsWith(255));
}

// A host that is no window, the message-only parent (also as its 32-bit
// number), a message-only window or the desktop could never show a preview
// that ends.
TEST_F(DisplayE2e, PreviewWithoutAUsableHostShowsOneErrorBoxAndExits255) {
    const std::string desktop = e2e::handleText(GetDesktopWindow());
    const std::string messageOnly = e2e::handleText(
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    for (const std::string host : {"12345", "-3", "4294967293", messageOnly.c_str(), desktop.c_str()}) {
        SCOPED_TRACE(host);
        e2e::SaverProcess saver("/p " + host);
        expectErrorBoxThenExit255(saver, "Failed to create window...", host == desktop);
    }
}

// Runs only in a session whose X server has no GLX (the e2e-noglx test), where
// the window is made but no pixel format or context can be.
TEST(NoGlx, SaverFailureBoxIsVisibleFocusedAndDismissed) {
    e2e::SaverProcess saver("/s");
    expectErrorBoxThenExit255(saver, "Can't find a suitable pixelformat.", true);
}

}  // namespace

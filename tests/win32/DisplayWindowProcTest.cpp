#include <windows.h>

#include <memory>

#include "DisplayTestSupport.h"
#include "display/win32/SaverWindowProc.h"

namespace {

using displaytest::messageWaiting;

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

// Each kind of decision must reach Windows on a live window: the cursor, a
// posted WM_CLOSE, the quit message, and the default procedure.
class DisplayWindowProc : public displaytest::DisplayTest {
protected:
    std::unique_ptr<GLWindow> window;

    void open(std::int32_t mode) {
        if (mode == Mode::Preview) openHost(0, 0, 200, 150);
        window = std::make_unique<GLWindow>();
        displaytest::drainMessages();
    }
    void TearDown() override {
        window.reset();
        DisplayTest::TearDown();
    }
    LRESULT send(UINT message, WPARAM wParam = 0) { return SendMessageA(saverWindow(), message, wParam, 0); }
    void setCursor() {
        SendMessageA(saverWindow(), WM_SETCURSOR, reinterpret_cast<WPARAM>(saverWindow()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
    bool closeWasRequested() { return settings.closeRequested != 0 && messageWaiting(WM_CLOSE, saverWindow()); }
};

TEST_F(DisplayWindowProc, PreviewDeactivationPostsACloseAndShowsTheArrow) {
    open(Mode::Preview);
    setCursor();
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
    EXPECT_EQ(send(WM_NCACTIVATE, FALSE), 0);
    EXPECT_TRUE(closeWasRequested());
}

TEST_F(DisplayWindowProc, SaverHidesTheCursorClosesOnAKeyAndQuitsOnClose) {
    open(Mode::Saver);
    setCursor();
    EXPECT_EQ(GetCursor(), nullptr);
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_CLOSE), 0);
    EXPECT_FALSE(closeWasRequested());
    EXPECT_EQ(send(WM_GETTEXTLENGTH), 7);  // "Tirrans", from the default procedure

    EXPECT_EQ(send(WM_KEYDOWN, 0x41), 0);
    EXPECT_TRUE(closeWasRequested());
    EXPECT_FALSE(messageWaiting(WM_QUIT));
    EXPECT_EQ(send(WM_CLOSE), 0);
    EXPECT_TRUE(messageWaiting(WM_QUIT));
    EXPECT_TRUE(IsWindow(saverWindow()));  // not destroyed by the close
}

}  // namespace

// lumra.scr started as Windows starts it, for the shell's modes: unknown
// switches, the setup dialog and the password change.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/E2eSupport.h"

namespace {

constexpr DWORD timeoutMs = 15000;
constexpr int digitsFieldId = 1036;

class ShellE2eTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(e2e::deleteSaverKey()); }
    void TearDown() override { e2e::deleteSaverKey(); }

    // Starts "/c" and gives the digits field the focus. It starts on OK, the
    // first visible tab stop; Tab moves it to the digits field.
    static void openSetupAtTheDigits(e2e::SaverProcess& saver) {
        ASSERT_TRUE(saver.started());
        const HWND dialog = e2e::waitForWindow("#32770", "Saver Setup", timeoutMs, saver.processId());
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(e2e::focusByKeyboard(GetDlgItem(dialog, digitsFieldId), VK_TAB));
    }

    static void expectExitCodeZero(e2e::SaverProcess& saver) {
        DWORD exitCode = 1234;
        ASSERT_TRUE(saver.waitForExit(timeoutMs, exitCode)) << "still running";
        EXPECT_EQ(exitCode, 0u);
    }
};

}  // namespace

TEST_F(ShellE2eTest, UnknownSwitchesEndAtOnceWithoutTouchingTheRegistry) {
    for (const char* arguments : {"/x", "//s", "-"}) {
        SCOPED_TRACE(arguments);
        e2e::SaverProcess saver(arguments);
        ASSERT_TRUE(saver.started());
        expectExitCodeZero(saver);
        EXPECT_FALSE(e2e::saverKeyExists());
    }
}

// The name the display settings list the saver under, and its icon.
TEST(ShellResources, DescriptionAndIcon) {
    const HMODULE scr = LoadLibraryExA(e2e::saverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(scr, nullptr);
    char text[32] = {};
    LoadStringA(scr, 1, text, sizeof text);
    EXPECT_STREQ(text, "Saver");
    EXPECT_NE(LoadImageA(scr, MAKEINTRESOURCEA(102), IMAGE_ICON, 32, 32, 0), nullptr);
    FreeLibrary(scr);
}

TEST_F(ShellE2eTest, SetupDialogOkStoresTheSixValues) {
    e2e::SaverProcess saver("/c");
    ASSERT_NO_FATAL_FAILURE(openSetupAtTheDigits(saver));
    // Of the options only the digits field shows; the others stay hidden.
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(FindWindowA("#32770", "Saver Setup"), 1006)));
    // Type at the field's end: the letter is refused. Enter is OK.
    e2e::pressKey(VK_END);
    e2e::typeText("4x2");
    e2e::pressKey(VK_RETURN);
    expectExitCodeZero(saver);
    // Numbers as REG_DWORD (4) of 4 bytes, texts as REG_SZ (1) of 256 bytes.
    EXPECT_EQ(e2e::savedValue("Floor"), "4:0/4");
    EXPECT_EQ(e2e::savedValue("Attractive"), "4:0/4");
    EXPECT_EQ(e2e::savedValue("Moving"), "4:1/4");
    EXPECT_EQ(e2e::savedValue("Music"), "4:0/4");
    EXPECT_EQ(e2e::savedValue("MusicFileName"), "1:c:/mp3/Various/brunnen_g.mp3/256");
    EXPECT_EQ(e2e::savedValue("tavinum"), "1:10042/256");
}

TEST_F(ShellE2eTest, SetupDialogEscStoresNothing) {
    e2e::SaverProcess saver("/c");
    ASSERT_NO_FATAL_FAILURE(openSetupAtTheDigits(saver));
    e2e::typeText("9");
    e2e::pressKey(VK_ESCAPE);
    expectExitCodeZero(saver);
    EXPECT_FALSE(e2e::saverKeyExists());
}

// A key that cannot be written: OK says so in a box owned by the dialog,
// which stays open, and nothing is stored.
TEST_F(ShellE2eTest, SetupDialogOkOnALockedKeySaysSoAndStoresNothing) {
    ASSERT_TRUE(e2e::lockSaverKey(true));
    e2e::SaverProcess saver("/c");
    ASSERT_NO_FATAL_FAILURE(openSetupAtTheDigits(saver));
    const HWND dialog = FindWindowA("#32770", "Saver Setup");
    e2e::pressKey(VK_RETURN);
    const HWND box = e2e::waitForWindow("#32770", "Saver Error", timeoutMs, saver.processId());
    ASSERT_NE(box, nullptr) << "no word of the failed save";
    EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
    EXPECT_TRUE(e2e::pollUntil(2000, [&] { return GetForegroundWindow() == box; }));
    e2e::pressKey(VK_RETURN);
    EXPECT_TRUE(e2e::pollUntil(2000, [&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindowVisible(dialog));
    ASSERT_TRUE(e2e::focusByKeyboard(GetDlgItem(dialog, digitsFieldId), VK_TAB));
    e2e::pressKey(VK_ESCAPE);
    expectExitCodeZero(saver);
    EXPECT_EQ(e2e::savedValue("Floor"), "missing");
    EXPECT_TRUE(e2e::lockSaverKey(false));
}

TEST_F(ShellE2eTest, ChangePasswordEndsNormally) {
    e2e::SaverProcess saver("/a:55");
    ASSERT_TRUE(saver.started());
    // The system's service may be missing, or may show a dialog of its own:
    // close whatever it shows until the saver has ended.
    DWORD exitCode = 1234;
    ASSERT_TRUE(e2e::pollUntil(timeoutMs, [&] {
        if (HWND shown = e2e::waitForWindow(nullptr, nullptr, 0, saver.processId())) PostMessageA(shown, WM_CLOSE, 0, 0);
        return saver.waitForExit(200, exitCode);
    })) << "lumra.scr /a:55 did not end";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(e2e::saverKeyExists());
}

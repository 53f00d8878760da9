// lumra.scr started as Windows starts it, for the shell's modes: unknown
// switches, the setup dialog and the password change.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "tests/e2e/E2eSupport.h"

namespace {

constexpr int digitsFieldId = 1036;

class ShellE2eTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(e2e::deleteSaverKey()); }
    void TearDown() override { e2e::deleteSaverKey(); }

    // Starts "/c" and gives the digits field the focus. It starts on OK, the
    // first visible tab stop; Tab moves it to the digits field.
    static HWND openSetupAtTheDigits(e2e::SaverProcess& saver) {
        const HWND dialog = e2e::waitForWindow("#32770", "Saver Setup");
        EXPECT_TRUE(saver.started() && dialog != nullptr && e2e::waitUntilFocused(GetDlgItem(dialog, IDOK)));
        e2e::pressKey(VK_TAB);
        EXPECT_TRUE(e2e::waitUntilFocused(GetDlgItem(dialog, digitsFieldId)));
        return dialog;
    }

    static void expectExitCodeZero(e2e::SaverProcess& saver) {
        DWORD exitCode = 1234;
        ASSERT_TRUE(saver.waitForExit(e2e::patienceMs, exitCode)) << "still running";
        EXPECT_EQ(exitCode, 0u);
    }
};

// Unknown switches end at once; the password change goes to the system's
// service, which under Wine returns at once. Neither touches the registry.
TEST_F(ShellE2eTest, UnknownSwitchesAndThePasswordChangeEndWithZero) {
    for (const char* arguments : {"/x", "//s", "-", "/a:55"}) {
        SCOPED_TRACE(arguments);
        e2e::SaverProcess saver(arguments);
        expectExitCodeZero(saver);
        EXPECT_EQ(e2e::savedValue("Floor"), "no key");
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

TEST_F(ShellE2eTest, SetupDialogOkStoresTheSixValuesAndEscNothing) {
    {
        e2e::SaverProcess saver("/c");
        const HWND dialog = openSetupAtTheDigits(saver);
        // Of the options only the digits field shows; the others stay hidden.
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, 1006)));
        e2e::pressKey('9');
        e2e::pressKey(VK_ESCAPE);
        expectExitCodeZero(saver);
        EXPECT_EQ(e2e::savedValue("Floor"), "no key");
    }
    // A stored digits field is shown; typed at its end, the letter is refused. Enter is OK.
    ASSERT_TRUE(e2e::storeValue(e2e::saverKey, "tavinum", REG_SZ, "7", 2));
    e2e::SaverProcess saver("/c");
    openSetupAtTheDigits(saver);
    for (const WORD key : {WORD{VK_END}, WORD{'4'}, WORD{'X'}, WORD{'2'}, WORD{VK_RETURN}}) e2e::pressKey(key);
    expectExitCodeZero(saver);
    // Numbers as REG_DWORD (4) of 4 bytes, texts as REG_SZ (1) of 256 bytes.
    EXPECT_EQ(e2e::savedValue("Floor"), "4:0/4");
    EXPECT_EQ(e2e::savedValue("Attractive"), "4:0/4");
    EXPECT_EQ(e2e::savedValue("Moving"), "4:1/4");
    EXPECT_EQ(e2e::savedValue("Music"), "4:0/4");
    EXPECT_EQ(e2e::savedValue("MusicFileName"), "1:Couldn't load filename from registry/256");  // it was missing
    EXPECT_EQ(e2e::savedValue("tavinum"), "1:742/256");
}

// A key that cannot be written: OK says so in a box owned by the dialog,
// which stays open, and nothing is stored.
TEST_F(ShellE2eTest, SetupDialogOkOnALockedKeySaysSoAndStoresNothing) {
    ASSERT_TRUE(e2e::lockSaverKey(true));
    e2e::SaverProcess saver("/c");
    const HWND dialog = openSetupAtTheDigits(saver);
    e2e::pressKey(VK_RETURN);
    const HWND box = e2e::waitForWindow("#32770", "Saver Error");
    ASSERT_NE(box, nullptr) << "no word of the failed save";
    EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
    ASSERT_TRUE(e2e::waitUntilFocused(GetDlgItem(box, IDOK)));
    e2e::pressKey(VK_RETURN);
    EXPECT_TRUE(e2e::pollUntil(e2e::patienceMs, [&] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindowVisible(dialog));
    ASSERT_TRUE(e2e::waitUntilFocused(GetDlgItem(dialog, digitsFieldId)));
    e2e::pressKey(VK_ESCAPE);
    expectExitCodeZero(saver);
    EXPECT_EQ(e2e::savedValue("Floor"), "missing");
    EXPECT_TRUE(e2e::lockSaverKey(false));
}

}  // namespace

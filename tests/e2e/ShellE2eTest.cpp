// lumra.scr started as Windows starts it, for the shell's modes: unknown
// switches, the setup dialog and the password change.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "tests/e2e/E2eSupport.h"

namespace {

constexpr DWORD exitTimeoutMs = 15000;
constexpr DWORD windowTimeoutMs = 15000;
constexpr int digitsFieldId = 1036;

class ShellE2eTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(e2e::deleteSaverKey()); }
    void TearDown() override { e2e::deleteSaverKey(); }
};

// A stored value as "type:contents", numbers in decimal and texts up to
// their terminator, with the data length when it is not the one expected.
std::string stored(const char* name, std::size_t expectedLength) {
    const e2e::StoredValue value = e2e::readSaverValue(name);
    if (!value.present) return "missing";
    std::string text = std::to_string(value.type) + ":";
    if (value.type == REG_DWORD && value.data.size() == 4) {
        std::int32_t number = 0;
        std::memcpy(&number, value.data.data(), 4);
        text += std::to_string(number);
    } else {
        text += std::string(value.data.begin(), value.data.end()).c_str();
    }
    return value.data.size() == expectedLength ? text : text + " of " + std::to_string(value.data.size()) + " bytes";
}

HWND waitForSetupDialog(const e2e::SaverProcess& saver) {
    return e2e::waitForWindow("#32770", "Saver Setup", windowTimeoutMs, saver.processId());
}

}  // namespace

TEST_F(ShellE2eTest, UnknownSwitchesEndAtOnceWithoutTouchingTheRegistry) {
    for (const char* arguments : {"/x", "//s", "-"}) {
        SCOPED_TRACE(arguments);
        e2e::SaverProcess saver(arguments);
        ASSERT_TRUE(saver.started());
        DWORD exitCode = 1234;
        ASSERT_TRUE(saver.waitForExit(exitTimeoutMs, exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_FALSE(e2e::saverKeyExists());
    }
}

TEST_F(ShellE2eTest, SetupDialogOkStoresTheSixValues) {
    e2e::SaverProcess saver("/c");
    ASSERT_TRUE(saver.started());
    HWND dialog = waitForSetupDialog(saver);
    ASSERT_NE(dialog, nullptr);
    HWND digits = GetDlgItem(dialog, digitsFieldId);
    ASSERT_NE(digits, nullptr);

    // The focus starts on OK, the first visible tab stop; Tab moves it to the
    // digits field. Type at its end: the letter is refused. Enter is OK.
    ASSERT_TRUE(e2e::focusByKeyboard(digits, VK_TAB));
    e2e::pressKey(VK_END);
    e2e::typeText("4x2");
    e2e::pressKey(VK_RETURN);

    DWORD exitCode = 1234;
    ASSERT_TRUE(saver.waitForExit(exitTimeoutMs, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(stored("Floor", 4), "4:0");  // REG_DWORD
    EXPECT_EQ(stored("Attractive", 4), "4:0");
    EXPECT_EQ(stored("Moving", 4), "4:1");
    EXPECT_EQ(stored("Music", 4), "4:0");
    EXPECT_EQ(stored("MusicFileName", 256), "1:c:/mp3/Various/brunnen_g.mp3");  // REG_SZ
    EXPECT_EQ(stored("tavinum", 256), "1:10042");
}

TEST_F(ShellE2eTest, SetupDialogEscStoresNothing) {
    e2e::SaverProcess saver("/c");
    ASSERT_TRUE(saver.started());
    HWND dialog = waitForSetupDialog(saver);
    ASSERT_NE(dialog, nullptr);
    HWND digits = GetDlgItem(dialog, digitsFieldId);
    ASSERT_TRUE(e2e::focusByKeyboard(digits, VK_TAB));
    e2e::typeText("9");
    e2e::pressKey(VK_ESCAPE);

    DWORD exitCode = 1234;
    ASSERT_TRUE(saver.waitForExit(exitTimeoutMs, exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(e2e::saverKeyExists());
}

TEST_F(ShellE2eTest, ChangePasswordEndsNormally) {
    e2e::SaverProcess saver("/a:55");
    ASSERT_TRUE(saver.started());
    // The system's service may be missing, or may show a dialog of its own:
    // close whatever it shows until the saver has ended.
    DWORD exitCode = 1234;
    const DWORD start = GetTickCount();
    while (!saver.waitForExit(200, exitCode)) {
        ASSERT_LT(GetTickCount() - start, exitTimeoutMs) << "lumra.scr /a:55 did not end";
        if (HWND shown = e2e::waitForWindow(nullptr, nullptr, 0, saver.processId())) {
            PostMessageA(shown, WM_CLOSE, 0, 0);
        }
    }
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(e2e::saverKeyExists());
}

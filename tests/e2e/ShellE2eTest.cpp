// lumra.scr started as Windows starts it, for the shell's modes: unknown
// switches, the setup dialog and the password change.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace {

constexpr int digitsFieldId = 1036;

class ShellE2eTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(e2e::deleteSaverKey()); }
    void TearDown() override { e2e::deleteSaverKey(); }

    // Gives the setup dialog's digits field the focus. It starts on OK, the
    // first visible tab stop; Tab moves it to the digits field.
    static HWND openSetupAtTheDigits() {
        const HWND dialog = e2e::waitForWindow("#32770", "Saver Setup");
        if (dialog == nullptr) return nullptr;
        EXPECT_TRUE(e2e::waitUntilFocused(GetDlgItem(dialog, IDOK)));
        e2e::pressKey(VK_TAB);
        EXPECT_TRUE(e2e::waitUntilFocused(GetDlgItem(dialog, digitsFieldId)));
        return dialog;
    }
};

// Unknown switches end at once. The password change hands its owner to the
// system folder's MPR.DLL, there the tests' stand-in (native for lumra.scr
// alone; Wine keeps its own for the rest), which logs its load and call; its
// copy beside lumra.scr, first by the bare name, must never load. None of
// them touches the registry.
TEST_F(ShellE2eTest, UnknownSwitchesAndThePasswordChangeEndWithZero) {
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, 200);
    const std::string scr = e2e::saverPath(), log = scr + ".mpr.log";
    ASSERT_TRUE(CopyFileA((scr.substr(0, scr.find_last_of("\\/") + 1) + "MPR.DLL").c_str(), lstrcatA(system, "\\mpr.dll"),
                          FALSE)) << "CopyFile to " << system << ": error " << GetLastError();
    DeleteFileA(log.c_str());
    SetEnvironmentVariableA("LUMRA_MPR_LOG", log.c_str());
    EXPECT_TRUE(e2e::storeValue("Software\\Wine\\AppDefaults\\lumra.scr\\DllOverrides", "mpr", REG_SZ, "native", 7));
    for (const char* arguments : {"/x", "//s", "-", "/a:55"}) {
        SCOPED_TRACE(arguments);
        EXPECT_TRUE(e2e::SaverProcess(arguments).endsWith(0));
        EXPECT_EQ(e2e::savedValue("Floor"), "no key");
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\lumra.scr");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(log).rdbuf()), {}),
              "loaded from the system folder\nPwdChangePasswordA SCRSAVE 55\n");
}

// The name the display settings list the saver under, and its icon group:
// icon 1 of 32 x 32 in 256 colours (8 bits; a count of 0 says 256) and icon 2
// in 16 colours (4 bits), each one Windows makes an icon of.
TEST(ShellResources, DescriptionAndIcon) {
    const HMODULE scr = LoadLibraryExA(e2e::saverPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(scr, nullptr);
    char text[32] = {};
    LoadStringA(scr, 1, text, sizeof text);
    EXPECT_STREQ(text, "Saver");
    const auto resource = [scr](int id, LPCSTR type) {
        const HRSRC found = FindResourceA(scr, MAKEINTRESOURCEA(id), type);
        return std::make_pair(static_cast<BYTE*>(LockResource(LoadResource(scr, found))), SizeofResource(scr, found));
    };
    const BYTE* group = resource(102, RT_GROUP_ICON).first;  // a 6-byte header, then 14 bytes an image
    ASSERT_NE(group, nullptr);
    std::vector<std::vector<int>> images;
    for (int i = 0; i < group[4]; ++i) {
        const BYTE* entry = group + 6 + 14 * i;
        const int id = entry[12] | entry[13] << 8;
        const auto [bits, size] = resource(id, RT_ICON);
        const bool made = bits && CreateIconFromResourceEx(bits, size, TRUE, 0x00030000, 0, 0, LR_DEFAULTCOLOR);
        images.push_back({id, entry[0], entry[1], entry[2], entry[6] | entry[7] << 8, made});
    }
    EXPECT_EQ(images, (std::vector<std::vector<int>>{{1, 32, 32, 0, 8, true}, {2, 32, 32, 16, 4, true}}));
    FreeLibrary(scr);
}

// Stored options go through the dialog, hidden ones too: flags as 0 or 1 (7
// shows checked), texts cut from 255 characters to 254. Typed at the end of
// the digits field, the letter is refused. Enter is OK.
TEST_F(ShellE2eTest, SetupDialogOkStoresTheSixValues) {
    ASSERT_TRUE(e2e::storeValue(e2e::saverKey, "tavinum", REG_SZ, "7", 2));
    ASSERT_TRUE(e2e::storeValue(e2e::saverKey, "Floor", REG_DWORD, "\7\0\0\0", 4));
    ASSERT_TRUE(e2e::storeValue(e2e::saverKey, "MusicFileName", REG_SZ, std::string(255, 'm').c_str(), 256));
    e2e::SaverProcess saver("/c");
    // Of the options only the digits field shows; the others stay hidden.
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(openSetupAtTheDigits(), 1006)));
    for (const WORD key : {WORD{VK_END}, WORD{'4'}, WORD{'X'}, WORD{'2'}, WORD{VK_RETURN}}) e2e::pressKey(key);
    EXPECT_TRUE(saver.endsWith(0));
    // Numbers as REG_DWORD (4) of 4 bytes, texts as REG_SZ (1) of 256 bytes.
    std::vector<std::string> saved;
    for (const char* name : {"Floor", "Attractive", "Moving", "Music", "MusicFileName", "tavinum"}) {
        saved.push_back(e2e::savedValue(name));
    }
    EXPECT_EQ(saved, (std::vector<std::string>{"4:1/4", "4:0/4", "4:1/4", "4:0/4", "1:" + std::string(254, 'm') + "/256",
                                               "1:742/256"}));
}

// A key that cannot be written: OK says so in a box owned by the dialog,
// which stays open. Esc then stores nothing, though the key is writable again.
TEST_F(ShellE2eTest, SetupDialogOkOnALockedKeySaysSoAndStoresNothing) {
    ASSERT_TRUE(e2e::lockSaverKey(true));
    e2e::SaverProcess saver("/c");
    const HWND dialog = openSetupAtTheDigits();
    e2e::pressKey(VK_RETURN);
    const HWND box = e2e::waitForWindow("#32770", "Saver Error");
    ASSERT_NE(box, nullptr) << "no word of the failed save";
    EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
    ASSERT_TRUE(e2e::waitUntilFocused(GetDlgItem(box, IDOK)));
    e2e::pressKey(VK_RETURN);
    ASSERT_TRUE(e2e::lockSaverKey(false));
    ASSERT_TRUE(e2e::waitUntilFocused(GetDlgItem(dialog, digitsFieldId))) << "after Enter on the box";
    e2e::pressKey('9');
    e2e::pressKey(VK_ESCAPE);
    EXPECT_TRUE(saver.endsWith(0));
    EXPECT_EQ(e2e::savedValue("Floor"), "missing");
}

}  // namespace

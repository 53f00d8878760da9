// The setup dialog's procedure driven by messages, over the real registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "resources/ResourceIds.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"
#include "shell/win32/ConfigDialog.h"
#include "shell/win32/RegistryStore.h"

namespace {

const char* const ownKeyPath = "Software\\VelmoranSaverLumra0_01";

class ConfigDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteKeyA(HKEY_CURRENT_USER, ownKeyPath);
        moduleInstance = reinterpret_cast<NativeHandle>(GetModuleHandleA(nullptr));
        globalSettings = &settings;
    }
    void TearDown() override {
        if (dialog != nullptr) DestroyWindow(dialog);
        globalSettings = nullptr;
        RegDeleteKeyA(HKEY_CURRENT_USER, ownKeyPath);
    }
    // Modeless and shown, so that the hiding done by EndDialog can be seen.
    HWND open() {
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SAVER_SETUP), nullptr,
                                    configDialogProc, 0);
        if (dialog != nullptr) ShowWindow(dialog, SW_SHOWNA);
        return dialog;
    }
    std::string text(int id) const {
        char buffer[1024] = {};
        GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
        return buffer;
    }

    RegistryStore store;
    SaverSettings settings{store};
    HWND dialog = nullptr;
};

}  // namespace

// The hidden controls cannot be seen end to end: they must still carry every
// option through the dialog, flags as exactly 0 or 1 and texts cut at 254.
TEST_F(ConfigDialogTest, EveryOptionGoesThroughTheDialogOnOk) {
    settings.floor = 7;  // a stored nonzero that is not 1 still shows as checked
    settings.moving = 0;
    settings.attractive = 1;
    storeSettingsText(settings.musicFileName, "d:/song.mp3", 256);
    storeSettingsText(settings.numberText, "250", 256);

    ASSERT_NE(open(), nullptr);
    for (const auto& [id, state] : {std::pair<int, UINT>{IDC_FLOOR, BST_CHECKED}, {IDC_MOVING, BST_UNCHECKED},
                                    {IDC_ATTRACTIVE, BST_CHECKED}, {IDC_MUSIC, BST_UNCHECKED}}) {
        EXPECT_EQ(IsDlgButtonChecked(dialog, id), state) << id;
    }
    EXPECT_EQ(text(IDC_MUSIC_FILE), "d:/song.mp3");
    EXPECT_EQ(text(IDC_NUMBER), "250");

    CheckDlgButton(dialog, IDC_ATTRACTIVE, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_MUSIC, BST_CHECKED);
    SetDlgItemTextA(dialog, IDC_NUMBER, std::string(300, '9').c_str());
    SetDlgItemTextA(dialog, IDC_MUSIC_FILE, "e:/other.mp3");
    EXPECT_EQ(configDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_NUMBER, EN_CHANGE), 0), FALSE);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(SendMessageA(dialog, WM_COMMAND, IDOK, 0), FALSE);
    EXPECT_FALSE(IsWindowVisible(dialog));  // ended
    SaverSettings reloaded(store);
    reloaded.load();
    EXPECT_EQ((std::vector<int>{reloaded.floor, reloaded.moving, reloaded.attractive, reloaded.music}),
              (std::vector<int>{1, 0, 0, 1}));
    EXPECT_EQ(std::string(reloaded.numberText), std::string(254, '9'));
    EXPECT_STREQ(reloaded.musicFileName, "e:/other.mp3");
}

// The setup dialog's procedure driven by messages, over the real registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>

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
        settings.loadSystemValues();
        settings.load();
        globalSettings = &settings;
    }
    void TearDown() override {
        if (dialog != nullptr) DestroyWindow(dialog);
        globalSettings = nullptr;
        RegDeleteKeyA(HKEY_CURRENT_USER, ownKeyPath);
    }
    // Modeless, and shown, so that the hiding done by EndDialog can be seen.
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

TEST_F(ConfigDialogTest, OpeningFillsEveryControlFromTheRecordAndTheDigitsFieldRefusesLetters) {
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

    HWND digits = GetDlgItem(dialog, IDC_NUMBER);
    SetWindowTextA(digits, "");
    for (const char c : std::string("1a2B-3 ")) SendMessageA(digits, WM_CHAR, static_cast<WPARAM>(c), 0);
    EXPECT_EQ(text(IDC_NUMBER), "123");
}

TEST_F(ConfigDialogTest, OkStoresFlagsAsZeroOrOneAndCutsTexts) {
    settings.floor = 7;
    ASSERT_NE(open(), nullptr);
    CheckDlgButton(dialog, IDC_MOVING, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_MUSIC, BST_CHECKED);
    SetDlgItemTextA(dialog, IDC_NUMBER, std::string(300, '9').c_str());
    SetDlgItemTextA(dialog, IDC_MUSIC_FILE, "e:/other.mp3");

    EXPECT_EQ(SendMessageA(dialog, WM_COMMAND, IDOK, 0), FALSE);
    EXPECT_FALSE(IsWindowVisible(dialog));  // ended
    SaverSettings reloaded(store);
    reloaded.load();
    for (const SaverSettings* s : {&settings, &reloaded}) {
        EXPECT_EQ(s->floor, 1);
        EXPECT_EQ(s->moving, 0);
        EXPECT_EQ(s->attractive, 0);
        EXPECT_EQ(s->music, 1);
        EXPECT_EQ(std::string(s->numberText), std::string(254, '9'));
        EXPECT_STREQ(s->musicFileName, "e:/other.mp3");
    }
}

TEST_F(ConfigDialogTest, OtherCommandsAreLeftToTheSystemAndCancelSavesNothing) {
    ASSERT_NE(open(), nullptr);
    SetDlgItemTextA(dialog, IDC_NUMBER, "555");
    CheckDlgButton(dialog, IDC_FLOOR, BST_CHECKED);
    EXPECT_EQ(configDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_NUMBER, EN_CHANGE), 0), FALSE);
    EXPECT_EQ(configDialogProc(dialog, WM_COMMAND, 4242, 0), FALSE);
    EXPECT_EQ(configDialogProc(dialog, WM_SIZE, 0, 0), FALSE);
    EXPECT_TRUE(IsWindowVisible(dialog));

    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindowVisible(dialog));
    HKEY key = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, ownKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS);  // nothing stored
    EXPECT_STREQ(settings.numberText, "100");
    EXPECT_EQ(settings.floor, 0);
}

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "resources/ResourceIds.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"
#include "shell/win32/ConfigDialog.h"
#include "shell/win32/RegistryStore.h"

namespace {

const char* const ownKeyPath = "Software\\VelmoranSaverLumra0_01";

bool ownKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, ownKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

std::string controlText(HWND dialog, int id) {
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// Runs the dialog modally, as the entry point does, and drives it from a
// thread timer that the dialog's own message loop dispatches.
std::function<void(HWND)> modalDriver;

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK driveModalDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) {
        return;
    }
    modalDriver(dialog);
    if (IsWindowVisible(dialog)) {
        // The driver did not end it: end it with a result no test expects.
        EndDialog(dialog, 99);
    }
}

INT_PTR runModal(std::function<void(HWND)> driver) {
    modalDriver = std::move(driver);
    SetTimer(nullptr, 0, 10, driveModalDialog);
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SAVER_SETUP), nullptr,
                           configDialogProc, 0);
}

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
        if (dialog != nullptr) {
            DestroyWindow(dialog);
        }
        globalSettings = nullptr;
        RegDeleteKeyA(HKEY_CURRENT_USER, ownKeyPath);
    }
    HWND openModeless() {
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SAVER_SETUP),
                                    nullptr, configDialogProc, 0);
        if (dialog != nullptr) {
            // The template is not visible by itself; show it so that the
            // hiding done by EndDialog can be seen.
            ShowWindow(dialog, SW_SHOWNA);
        }
        return dialog;
    }

    RegistryStore store;
    SaverSettings settings{store};
    HWND dialog = nullptr;
};

}  // namespace

TEST_F(ConfigDialogTest, OpeningFillsEveryControlFromTheRecord) {
    settings.floor = 7;  // a stored nonzero that is not 1 still shows as checked
    settings.moving = 0;
    settings.attractive = 1;
    settings.music = 0;
    storeSettingsText(settings.musicFileName, "d:/song.mp3", 256);
    storeSettingsText(settings.numberText, "250", 256);

    ASSERT_NE(openModeless(), nullptr);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FLOOR), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MOVING), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_ATTRACTIVE), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_MUSIC), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(controlText(dialog, IDC_MUSIC_FILE), "d:/song.mp3");
    EXPECT_EQ(controlText(dialog, IDC_NUMBER), "250");
    // Only the digits field of the option controls can be seen and used.
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_NUMBER)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_MUSIC_FILE)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_FLOOR)));
}

TEST_F(ConfigDialogTest, OkStoresFlagsAsZeroOrOneAndCutsTexts) {
    settings.floor = 7;
    ASSERT_NE(openModeless(), nullptr);
    CheckDlgButton(dialog, IDC_MOVING, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_MUSIC, BST_CHECKED);
    const std::string longNumber(300, '9');
    SetDlgItemTextA(dialog, IDC_NUMBER, longNumber.c_str());
    SetDlgItemTextA(dialog, IDC_MUSIC_FILE, "e:/other.mp3");

    EXPECT_EQ(SendMessageA(dialog, WM_COMMAND, IDOK, 0), FALSE);
    EXPECT_EQ(settings.floor, 1);
    EXPECT_EQ(settings.moving, 0);
    EXPECT_EQ(settings.attractive, 0);
    EXPECT_EQ(settings.music, 1);
    EXPECT_EQ(std::string(settings.numberText), std::string(254, '9'));
    EXPECT_STREQ(settings.musicFileName, "e:/other.mp3");
    EXPECT_FALSE(IsWindowVisible(dialog));  // ended

    // What was saved is what a fresh record loads.
    SaverSettings reloaded(store);
    reloaded.load();
    EXPECT_EQ(reloaded.floor, 1);
    EXPECT_EQ(reloaded.moving, 0);
    EXPECT_EQ(reloaded.music, 1);
    EXPECT_EQ(std::string(reloaded.numberText), std::string(254, '9'));
    EXPECT_STREQ(reloaded.musicFileName, "e:/other.mp3");
}

TEST_F(ConfigDialogTest, OkWithoutChangesKeepsTheFirstRunDefaults) {
    ASSERT_FALSE(ownKeyExists());
    const INT_PTR result = runModal([](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDOK, 0); });
    EXPECT_EQ(result, IDOK);
    ASSERT_TRUE(ownKeyExists());

    SaverSettings reloaded(store);
    reloaded.load();
    EXPECT_EQ(reloaded.moving, 1);  // hidden, yet passed through unchanged
    EXPECT_EQ(reloaded.floor, 0);
    EXPECT_EQ(reloaded.attractive, 0);
    EXPECT_EQ(reloaded.music, 0);
    EXPECT_STREQ(reloaded.numberText, "100");
    EXPECT_STREQ(reloaded.musicFileName, "c:/mp3/Various/brunnen_g.mp3");
}

TEST_F(ConfigDialogTest, CancelEndsWithoutCopyingOrSaving) {
    const INT_PTR result = runModal([](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_NUMBER, "555");
        CheckDlgButton(dialog, IDC_FLOOR, BST_CHECKED);
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(ownKeyExists());
    EXPECT_STREQ(settings.numberText, "100");
    EXPECT_EQ(settings.floor, 0);
}

TEST_F(ConfigDialogTest, OtherCommandsAndMessagesAreLeftToTheSystem) {
    ASSERT_NE(openModeless(), nullptr);
    EXPECT_EQ(configDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_NUMBER, EN_CHANGE), 0), FALSE);
    EXPECT_EQ(configDialogProc(dialog, WM_COMMAND, 4242, 0), FALSE);
    EXPECT_EQ(configDialogProc(dialog, WM_SIZE, 0, 0), FALSE);
    EXPECT_EQ(configDialogProc(dialog, WM_INITDIALOG, 0, 0), TRUE);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(ownKeyExists());
}

TEST_F(ConfigDialogTest, DigitsFieldRefusesLetters) {
    ASSERT_NE(openModeless(), nullptr);
    HWND digits = GetDlgItem(dialog, IDC_NUMBER);
    SetWindowTextA(digits, "");
    for (const char c : std::string("1a2B-3 ")) {
        SendMessageA(digits, WM_CHAR, static_cast<WPARAM>(c), 0);
    }
    EXPECT_EQ(controlText(dialog, IDC_NUMBER), "123");
}

TEST_F(ConfigDialogTest, UnreadableTextIsShownAndStoredBack) {
    storeSettingsText(settings.numberText, "Couldn't load filename from registry", 256);
    ASSERT_NE(openModeless(), nullptr);
    // The digits style limits typing only, not what the program sets.
    EXPECT_EQ(controlText(dialog, IDC_NUMBER), "Couldn't load filename from registry");
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    SaverSettings reloaded(store);
    reloaded.load();
    EXPECT_STREQ(reloaded.numberText, "Couldn't load filename from registry");
}

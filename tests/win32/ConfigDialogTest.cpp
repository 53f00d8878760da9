// The setup dialog's procedure driven by messages. The hidden controls cannot
// be seen end to end: they must still carry every option through the dialog,
// flags as exactly 0 or 1 and texts cut at 254.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "resources/ResourceIds.h"
#include "shell/win32/ConfigDialog.h"
#include "tests/support/MemoryStore.h"
#include "tests/support/ProcessState.h"

TEST(ConfigDialog, EveryOptionGoesThroughTheDialogOnOk) {
    MemoryStore store;
    SaverSettings settings(store);
    resetProcessState();
    globalSettings = &settings;
    settings.floor = 7;  // a stored nonzero that is not 1 still shows as checked
    settings.attractive = 1;
    storeSettingsText(settings.musicFileName, "d:/song.mp3", 256);

    const HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SAVER_SETUP), nullptr,
                                           configDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FLOOR), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_ATTRACTIVE), BST_CHECKED);
    char text[1024] = {};
    GetDlgItemTextA(dialog, IDC_MUSIC_FILE, text, sizeof text);
    EXPECT_STREQ(text, "d:/song.mp3");

    CheckDlgButton(dialog, IDC_ATTRACTIVE, BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_MUSIC, BST_CHECKED);
    SetDlgItemTextA(dialog, IDC_NUMBER, std::string(300, '9').c_str());
    SetDlgItemTextA(dialog, IDC_MUSIC_FILE, "e:/other.mp3");
    EXPECT_EQ(SendMessageA(dialog, WM_COMMAND, IDOK, 0), FALSE);
    SaverSettings reloaded(store);
    reloaded.load();
    EXPECT_EQ((std::vector<int>{reloaded.floor, reloaded.moving, reloaded.attractive, reloaded.music}),
              (std::vector<int>{1, 0, 0, 1}));
    EXPECT_EQ(std::string(reloaded.numberText), std::string(254, '9'));
    EXPECT_STREQ(reloaded.musicFileName, "e:/other.mp3");
    DestroyWindow(dialog);
    resetProcessState();
}

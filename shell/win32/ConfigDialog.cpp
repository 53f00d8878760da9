// The dialog procedure of "Saver Setup". Only the digits field is visible;
// the check boxes and the music file field are hidden and disabled in the
// template, yet still filled and read back, so those options survive a save.
#include "shell/win32/ConfigDialog.h"

#include <commdlg.h>

#include <cstddef>

#include "resources/ResourceIds.h"
#include "shell/SaverSettings.h"

namespace {

// The record's layout before the Windows 2000 extension fields. 76 bytes in
// the 32-bit build; the 64-bit build has wider pointers, and the same old
// layout measures more there (what OPENFILENAME_SIZE_VERSION_400A gives).
constexpr DWORD fileDialogRecordSize =
    offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(OPENFILENAMEA::lpTemplateName);
#ifndef _WIN64
static_assert(fileDialogRecordSize == 76, "old OPENFILENAME layout");
#endif

// GetDlgItemTextA with this count keeps at most 254 characters: the count
// includes the terminator. Stored settings have always been cut there.
constexpr int dialogTextCount = 255;

struct FlagControl {
    int id;
    std::int32_t SaverSettings::*flag;
};

// The order in which the flags are shown and read back.
const FlagControl flagControls[] = {
    {IDC_FLOOR, &SaverSettings::floor},
    {IDC_MOVING, &SaverSettings::moving},
    {IDC_ATTRACTIVE, &SaverSettings::attractive},
    {IDC_MUSIC, &SaverSettings::music},
};

struct TextControl {
    int id;
    char (SaverSettings::*text)[SaverSettings::TextCapacity];
};

const TextControl textControls[] = {
    {IDC_MUSIC_FILE, &SaverSettings::musicFileName},
    {IDC_NUMBER, &SaverSettings::numberText},
};

void fillControls(HWND dialog, const SaverSettings& settings) {
    for (const FlagControl& control : flagControls) {
        // The stored value goes in as it is; the button keeps what it can.
        CheckDlgButton(dialog, control.id, static_cast<UINT>(settings.*control.flag));
    }
    for (const TextControl& control : textControls) {
        SetDlgItemTextA(dialog, control.id, settings.*control.text);
    }
}

void readControls(HWND dialog, SaverSettings& settings) {
    for (const FlagControl& control : flagControls) {
        settings.*control.flag = IsDlgButtonChecked(dialog, control.id) == BST_CHECKED ? 1 : 0;
    }
    for (const TextControl& control : textControls) {
        char text[SaverSettings::TextCapacity] = {};
        GetDlgItemTextA(dialog, control.id, text, dialogTextCount);
        storeSettingsText(settings.*control.text, text, sizeof text);
    }
}

// Lets the user pick a music file; the choice goes into the edit field only,
// and reaches the settings when the dialog is confirmed.
void chooseMusicFile(HWND dialog) {
    static const char filter[] = "MP3 files (*.mp3)\0*.mp3\0All files (*.*)\0*.*\0";
    char fileName[256] = {};
    OPENFILENAMEA request{};
    request.lStructSize = fileDialogRecordSize;
    request.hwndOwner = dialog;
    request.hInstance = reinterpret_cast<HINSTANCE>(moduleInstance);
    request.lpstrFilter = filter;
    request.lpstrFile = fileName;
    request.nMaxFile = sizeof fileName;
    request.lpstrTitle = "Open mp3";
    request.Flags = OFN_FILEMUSTEXIST;
    if (GetOpenFileNameA(&request)) {
        SetDlgItemTextA(dialog, IDC_MUSIC_FILE, fileName);
    }
}

void handleCommand(HWND dialog, WORD command) {
    switch (command) {
    case IDC_CHOOSE_MUSIC:
        chooseMusicFile(dialog);
        break;
    case IDOK:
        if (globalSettings != nullptr) {
            readControls(dialog, *globalSettings);
            if (globalSettings->save() != SettingsStore::Success) {
                // The dialog stays open with the edits, so the user can try
                // again or cancel knowingly.
                MessageBoxA(dialog, "The options could not be saved.", "Saver Error", MB_ICONWARNING | MB_OK);
                break;
            }
        }
        EndDialog(dialog, IDOK);
        break;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        break;
    default:
        break;
    }
}

}  // namespace

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        if (globalSettings != nullptr) {
            fillControls(dialog, *globalSettings);
        }
        return TRUE;  // let the system place the focus
    case WM_COMMAND:
        handleCommand(dialog, LOWORD(wParam));
        return FALSE;
    default:
        return FALSE;
    }
}

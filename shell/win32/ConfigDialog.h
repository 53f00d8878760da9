// The configuration dialog (resource 103, "Saver Setup"): shows the own
// options of globalSettings and saves them when the user confirms with OK.
#pragma once

#include <windows.h>

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The window procedure of the saver window: it hands each message to the
// close rules and carries their answer back to Windows.
#pragma once

#include <windows.h>

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

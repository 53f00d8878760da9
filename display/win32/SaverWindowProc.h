// The window procedure of the saver window: it translates each message into
// a portable event, lets the close rules decide, and carries their answer
// back to Windows.
#pragma once

#include <windows.h>

#include "display/CloseRules.h"

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The event a message stands for in the close rules and the frame pacing.
// lParam is read only for the display's power state, which arrives behind it.
SaverEvent translateMessage(UINT message, WPARAM wParam, LPARAM lParam = 0);

// The window procedure of the saver window: it translates each message into
// a portable event, hands it to the run, and carries the answer of the close
// rules back to Windows.
#pragma once

#include <windows.h>

#include "display/CloseRules.h"

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The event a message stands for in the close rules and the frame pacing.
// lParam is read only for the display's power state, which arrives behind it.
SaverEvent translateMessage(UINT message, WPARAM wParam, LPARAM lParam = 0);

// Where the system's cursor is, for the run's mouse rule.
CursorSource& systemCursor();

// The ChangePassword mode: hands the user to the system's password-change
// service for screen savers, looked up at run time.
#pragma once

#include <windows.h>

void changePassword(HWND owner);

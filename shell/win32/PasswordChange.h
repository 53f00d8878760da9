// The ChangePassword mode: hands the user to the system's password-change
// service for screen savers, looked up at run time.
#pragma once

#include <windows.h>

void changePassword(HWND owner);

// The same, with the library to look the service up in; changePassword uses
// MPR.DLL of the system directory. Tests point it at a stand-in library.
void changePasswordWith(const char* libraryName, HWND owner);

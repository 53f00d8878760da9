// What the stand-in password-change service records of its last call; shared
// by the test DLL and the test that reads it back.
#pragma once

#include <windows.h>

struct RecordedCall {
    int calls;
    char provider[32];
    HWND owner;
    DWORD reserved;
    LPVOID reservedPointer;
};

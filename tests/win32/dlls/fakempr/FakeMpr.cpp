// A stand-in for MPR.DLL's password-change service: it records the arguments
// of each call instead of showing a dialog, and hands them to the test
// through fakeMprLastCall.
#include <windows.h>

#include <cstring>

#include "RecordedCall.h"

namespace {

RecordedCall lastCall;

}  // namespace

// The service is __stdcall. On 32-bit Windows that decorates the symbol
// (_PwdChangePasswordA@16); the label below gives it the plain name on both
// architectures, so the one .def file exports "PwdChangePasswordA" as callers
// look it up with GetProcAddress.
#if defined(__i386__)
#define FAKE_MPR_SYMBOL(name) __asm__("_" #name)
#else
#define FAKE_MPR_SYMBOL(name) __asm__(#name)
#endif

extern "C" DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved,
                                           LPVOID reservedPointer) FAKE_MPR_SYMBOL(PwdChangePasswordA);
extern "C" const RecordedCall* fakeMprLastCall();

extern "C" DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD reserved,
                                           LPVOID reservedPointer) {
    ++lastCall.calls;
    std::memset(lastCall.provider, 0, sizeof lastCall.provider);
    if (provider != nullptr) std::strncpy(lastCall.provider, provider, sizeof lastCall.provider - 1);
    lastCall.owner = owner;
    lastCall.reserved = reserved;
    lastCall.reservedPointer = reservedPointer;
    return 0x4242;  // an answer the caller must ignore
}

extern "C" const RecordedCall* fakeMprLastCall() { return &lastCall; }

// The service is looked up rather than imported, so the saver still starts
// on systems whose MPR.DLL lacks it; there the mode simply does nothing.
#include "shell/win32/PasswordChange.h"

namespace {

using PwdChangePasswordFunction = DWORD(WINAPI*)(LPCSTR provider, HWND owner, DWORD, LPVOID);

void changePasswordWith(const char* libraryName, HWND owner) {
    HMODULE library = LoadLibraryA(libraryName);
    if (library == nullptr) {
        return;
    }
    // GetProcAddress returns a generic function pointer; the service's real
    // type is the one above.
    const auto service = reinterpret_cast<PwdChangePasswordFunction>(
        reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    if (service != nullptr) {
        // The service keeps the password and shows its own dialog; its answer
        // is of no use to us.
        service("SCRSAVE", owner, 0, nullptr);
    }
    FreeLibrary(library);
}

}  // namespace

// From the system directory only: by its bare name a file called MPR.DLL
// beside a downloaded saver would be loaded and run with the user's rights.
void changePassword(HWND owner) {
    static const char name[] = "\\MPR.DLL";
    char path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof name > MAX_PATH) {
        return;
    }
    lstrcpyA(path + length, name);
    changePasswordWith(path, owner);
}

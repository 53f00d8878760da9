// A stand-in for the system's MPR.DLL, for the end-to-end tests: it appends
// to the file LUMRA_MPR_LOG names where it was loaded from and its calls.
#include <windows.h>

#include <cstdint>
#include <fstream>
#include <string>

static void record(const std::string& line) {
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("LUMRA_MPR_LOG", path, MAX_PATH) != 0) std::ofstream(path, std::ios::app) << line << "\n";
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    char own[MAX_PATH] = {}, system[MAX_PATH] = {};
    if (reason != DLL_PROCESS_ATTACH || !GetModuleFileNameA(self, own, MAX_PATH)) return TRUE;
    GetSystemDirectoryA(system, 200);
    record(lstrcmpiA(own, lstrcatA(system, "\\MPR.DLL")) ? std::string("loaded from ") + own : "loaded from the system folder");
    return TRUE;
}

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD flags, LPVOID rest) {
    record(std::string("PwdChangePasswordA ") + (provider != nullptr ? provider : "(null)") + " " +
           std::to_string(reinterpret_cast<std::uintptr_t>(owner)) + " " + std::to_string(flags) + (rest ? " set" : " null"));
    return 0;
}

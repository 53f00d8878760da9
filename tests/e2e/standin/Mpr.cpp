// A stand-in for the system's MPR.DLL, for the end-to-end tests: it appends
// where it was loaded from, and its calls, to the file LUMRA_MPR_LOG names.
#include <windows.h>

#include <fstream>
#include <string>

static void record(const std::string& line) {
    char path[MAX_PATH] = {};
    if (GetEnvironmentVariableA("LUMRA_MPR_LOG", path, MAX_PATH) != 0) std::ofstream(path, std::ios::app) << line << "\n";
}

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    char own[MAX_PATH] = {}, system[MAX_PATH] = {};
    if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameA(self, own, MAX_PATH) && GetSystemDirectoryA(system, 200))
        record(lstrcmpiA(own, lstrcatA(system, "\\MPR.DLL")) != 0 ? std::string("loaded from ") + own
                                                                : "loaded from the system folder");
    return TRUE;
}

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD, LPVOID) {
    record(std::string("PwdChangePasswordA ") + provider + " " + std::to_string(reinterpret_cast<UINT_PTR>(owner)));
    return 0;
}

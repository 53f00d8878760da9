// Hosts a preview the way the screen-saver settings do, for measuring what a
// preview costs: a window of the given size, "lumra.scr /p <window>" started
// on it, the window hidden after hide-after seconds if given (and shown again
// after show-after seconds if given), and destroyed after seconds, which ends
// the preview.
//   preview_host SCR WIDTH HEIGHT SECONDS [HIDE_AFTER [SHOW_AFTER]]
// Prints the display's refresh rate as Windows reports it, and the preview's
// exit code.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void pumpFor(DWORD milliseconds) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: preview_host SCR WIDTH HEIGHT SECONDS [HIDE_AFTER]\n");
        return 2;
    }
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    const double seconds = std::atof(argv[4]);
    const double hideAfter = argc > 5 ? std::atof(argv[5]) : seconds;
    const double showAfter = argc > 6 && std::atof(argv[6]) < seconds ? std::atof(argv[6]) : seconds;

    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    std::printf("display: %lu Hz\n", static_cast<unsigned long>(mode.dmDisplayFrequency));

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "LumraPreviewHost";
    RegisterClassA(&windowClass);
    const HWND host = CreateWindowExA(0, windowClass.lpszClassName, "preview host", WS_POPUP | WS_VISIBLE, 0, 0,
                                      width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
    if (host == nullptr) {
        std::fprintf(stderr, "preview_host: CreateWindowEx failed, error %lu\n", GetLastError());
        return 1;
    }
    std::string line = std::string("\"") + argv[1] + "\" /p " +
                       std::to_string(reinterpret_cast<std::uintptr_t>(host));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION preview{};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &preview)) {
        std::fprintf(stderr, "preview_host: CreateProcess failed, error %lu: %s\n", GetLastError(), line.c_str());
        return 1;
    }
    pumpFor(static_cast<DWORD>(hideAfter * 1000));
    ShowWindow(host, SW_HIDE);
    if (showAfter > hideAfter) pumpFor(static_cast<DWORD>((showAfter - hideAfter) * 1000));
    if (showAfter < seconds) {
        ShowWindow(host, SW_SHOW);
        pumpFor(static_cast<DWORD>((seconds - showAfter) * 1000));
    }
    DestroyWindow(host);
    DWORD code = STILL_ACTIVE;
    const DWORD waited = WaitForSingleObject(preview.hProcess, 30000);
    GetExitCodeProcess(preview.hProcess, &code);
    std::printf("preview: %s, exit code %lu\n", waited == WAIT_OBJECT_0 ? "ended" : "still running after 30 s",
                static_cast<unsigned long>(code));
    return waited == WAIT_OBJECT_0 && code == 0 ? 0 : 1;
}

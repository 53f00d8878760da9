// The end-to-end driver's helpers. Under Wine every program of the test
// prefix runs inside one virtual desktop, which is what gives windows the
// keyboard focus without a window manager; these helpers rely on that.
#include "tests/e2e/E2eSupport.h"

#include <sddl.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace e2e {

namespace {

const char* const saverKeyPath = "Software\\VelmoranSaverLumra0_01";
const char* const systemKeyPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";

struct WindowSearch {
    const char* className;
    const char* title;
    DWORD processId;
    HWND found;
};

bool sameText(const char* wanted, HWND window, int (WINAPI* get)(HWND, LPSTR, int)) {
    char text[256] = {};
    return wanted == nullptr || (get(window, text, sizeof text), std::strcmp(text, wanted) == 0);
}

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (IsWindowVisible(window) && (search.processId == 0 || owner == search.processId) &&
        sameText(search.className, window, GetClassNameA) && sameText(search.title, window, GetWindowTextA)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

void sendKeyEvent(WORD virtualKey, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

void sendMouse(DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = x;
    input.mi.dy = y;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

bool hasFocus(HWND control) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &gui) && gui.hwndFocus == control;
}

}  // namespace

std::string saverPath() {
    // LUMRA_SCR names another copy to run (the installer check runs the installed one).
    const char* other = std::getenv("LUMRA_SCR");
    if (other != nullptr && *other != '\0') return other;
    char path[MAX_PATH] = {};
    std::string folder(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return folder.erase(folder.find_last_of("\\/") + 1) + "lumra.scr";
}

SaverProcess::SaverProcess(const std::string& arguments) {
    // Windows quotes the program path and puts one blank before the switch.
    std::string line = "\"" + saverPath() + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        info = PROCESS_INFORMATION{};
    }
}

SaverProcess::~SaverProcess() {
    if (running()) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    if (info.hThread != nullptr) CloseHandle(info.hThread);
    if (info.hProcess != nullptr) CloseHandle(info.hProcess);
}

bool SaverProcess::running() const { return started() && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }

bool SaverProcess::waitForExit(DWORD timeoutMs, DWORD& exitCode) {
    return started() && WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
           GetExitCodeProcess(info.hProcess, &exitCode) != 0;
}

void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

HWND waitForWindow(const char* className, const char* title, DWORD timeoutMs, DWORD processId) {
    WindowSearch search{className, title, processId, nullptr};
    pollUntil(timeoutMs, [&] {
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    return search.found;
}

void bringToFront(HWND window) {
    SetForegroundWindow(window);
    Sleep(50);
}

void pressKey(WORD virtualKey) {
    sendKeyEvent(virtualKey, 0);
    sendKeyEvent(virtualKey, KEYEVENTF_KEYUP);
    Sleep(30);
}

void typeText(const char* text) {
    for (; *text != '\0'; ++text) {
        const char c = *text;
        // Virtual keys of letters are the capitals.
        pressKey(static_cast<WORD>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : static_cast<unsigned char>(c)));
    }
}

bool moveMouseTo(int x, int y) {
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    const LONG ax = static_cast<LONG>((x * 65535LL + (width - 1) / 2) / (width > 1 ? width - 1 : 1));
    const LONG ay = static_cast<LONG>((y * 65535LL + (height - 1) / 2) / (height > 1 ? height - 1 : 1));
    // Under Wine the cursor position can trail the input by a moment (it is
    // read back from the X server), and a move sent while windows come and go
    // is now and then dropped: wait until the move has landed, and send it
    // again if it has not. An absolute move sent twice ends at the same place.
    for (int attempt = 0; attempt < 8; ++attempt) {
        sendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ax, ay);
        const bool landed = pollUntil(250, [&] {
            POINT at{};
            return GetCursorPos(&at) && at.x == x && at.y == y;
        }, 10);
        if (landed) return true;
    }
    return false;
}

void leftClick() {
    sendMouse(MOUSEEVENTF_LEFTDOWN);
    sendMouse(MOUSEEVENTF_LEFTUP);
    Sleep(30);
}

void clickWindow(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    bringToFront(GetAncestor(window, GA_ROOT));
    moveMouseTo((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    leftClick();
}

bool focusByKeyboard(HWND control, WORD virtualKey) {
    bringToFront(GetAncestor(control, GA_ROOT));
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (pollUntil(attempt == 0 ? 0 : 500, [&] { return hasFocus(control); })) return true;
        pressKey(virtualKey);
    }
    return pollUntil(500, [&] { return hasFocus(control); });
}

bool deleteSaverKey() {
    const LONG status = RegDeleteKeyA(HKEY_CURRENT_USER, saverKeyPath);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// Everyone may only read the key (locked), or do everything (unlocked).
bool lockSaverKey(bool locked) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, saverKeyPath, 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool done = ConvertStringSecurityDescriptorToSecurityDescriptorA(
                    locked ? "D:P(A;;KR;;;WD)" : "D:P(A;;KA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr) &&
                RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    LocalFree(descriptor);
    RegCloseKey(key);
    return done;
}

bool storeSystemValue(const char* name, DWORD type, const void* data, DWORD length) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, systemKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const LONG status = type == REG_NONE ? RegDeleteValueA(key, name)
                                         : RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), length);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool saverKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, saverKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::string savedValue(const char* name) {
    HKEY key = nullptr;
    DWORD type = 0, length = 0;
    std::vector<BYTE> data;
    bool present = RegOpenKeyExA(HKEY_CURRENT_USER, saverKeyPath, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (present) {
        present = RegQueryValueExA(key, name, nullptr, &type, nullptr, &length) == ERROR_SUCCESS;
        data.resize(length);
        present = present && RegQueryValueExA(key, name, nullptr, &type, data.data(), &length) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    if (!present) return "missing";
    std::string contents(data.begin(), data.begin() + length);
    if (type == REG_DWORD && length == 4) {
        std::int32_t number = 0;
        std::memcpy(&number, data.data(), 4);
        contents = std::to_string(number);
    }
    return std::to_string(type) + ":" + contents.c_str() + "/" + std::to_string(length);
}

}  // namespace e2e

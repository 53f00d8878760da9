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

void sendInput(DWORD type, WORD virtualKey, DWORD flags, LONG x = 0, LONG y = 0) {
    INPUT input{};
    input.type = type;
    if (type == INPUT_KEYBOARD) {
        input.ki.wVk = virtualKey;
        input.ki.dwFlags = flags;
    } else {
        input.mi = {x, y, 0, flags, 0, 0};
    }
    SendInput(1, &input, sizeof input);
}

bool hasFocus(HWND control) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &gui) && gui.hwndFocus == control;
}

}  // namespace

std::string saverPath() {
    const char* other = std::getenv("LUMRA_SCR");  // the installer check runs the installed copy
    if (other != nullptr && *other != '\0') return other;
    char path[MAX_PATH] = {};
    std::string folder(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    return folder.erase(folder.find_last_of("\\/") + 1) + "lumra.scr";
}

std::string handleText(HWND window) { return std::to_string(reinterpret_cast<std::uintptr_t>(window)); }

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
    if (running()) kill();
    if (info.hThread != nullptr) CloseHandle(info.hThread);
    if (info.hProcess != nullptr) CloseHandle(info.hProcess);
}

void SaverProcess::kill() {
    TerminateProcess(info.hProcess, 1);
    pollUntil(patienceMs, [&] { return !running(); });
}

bool SaverProcess::waitForExit(DWORD timeoutMs, DWORD& exitCode) {
    return started() && pollUntil(timeoutMs, [&] { return !running(); }) &&
           GetExitCodeProcess(info.hProcess, &exitCode) != 0;
}

HWND waitForWindow(const char* className, const char* title, DWORD timeoutMs) {
    HWND found = nullptr;
    pollUntil(timeoutMs, [&] { return (found = FindWindowA(className, title)) != nullptr && IsWindowVisible(found); });
    return found != nullptr && IsWindowVisible(found) ? found : nullptr;
}

bool waitUntilFocused(HWND control) {
    const HWND root = GetAncestor(control, GA_ROOT);
    return pollUntil(patienceMs, [&] {
        if (GetForegroundWindow() != root) SetForegroundWindow(root);
        return IsWindowVisible(control) && IsWindowEnabled(control) && hasFocus(control);
    });
}

void pressKey(WORD virtualKey) {
    sendInput(INPUT_KEYBOARD, virtualKey, 0);
    sendInput(INPUT_KEYBOARD, virtualKey, KEYEVENTF_KEYUP);
    Sleep(30);
}

bool moveMouseTo(int x, int y) {
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const LONG ax = static_cast<LONG>((x * 65535LL + (width - 1) / 2) / (width - 1));
    const LONG ay = static_cast<LONG>((y * 65535LL + (height - 1) / 2) / (height - 1));
    // Under Wine the cursor position can trail the input by a moment (it is
    // read back from the X server), and a move sent while windows come and go
    // is now and then dropped: wait until the move has landed, and send it
    // again if it has not. An absolute move sent twice ends at the same place.
    for (int attempt = 0; attempt < 8; ++attempt) {
        sendInput(INPUT_MOUSE, 0, MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, ax, ay);
        POINT at{};
        if (pollUntil(250, [&] { return GetCursorPos(&at) && at.x == x && at.y == y; }, 10)) return true;
    }
    return false;
}

void leftClick() {
    sendInput(INPUT_MOUSE, 0, MOUSEEVENTF_LEFTDOWN);
    sendInput(INPUT_MOUSE, 0, MOUSEEVENTF_LEFTUP);
    Sleep(30);
}

void clickWindow(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    SetForegroundWindow(GetAncestor(window, GA_ROOT));
    moveMouseTo((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    leftClick();
}

bool deleteSaverKey() {
    const LONG status = RegDeleteKeyA(HKEY_CURRENT_USER, saverKey);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool lockSaverKey(bool locked) {
    HKEY key = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    bool done = RegCreateKeyExA(HKEY_CURRENT_USER, saverKey, 0, nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr,
                                &key, nullptr) == ERROR_SUCCESS &&
                ConvertStringSecurityDescriptorToSecurityDescriptorA(
                    locked ? "D:P(A;;KR;;;WD)" : "D:P(A;;KA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr) &&
                RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    LocalFree(descriptor);
    RegCloseKey(key);
    return done;
}

std::string savedValue(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, saverKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "no key";
    DWORD type = 0, length = 0;
    std::vector<BYTE> data(4096);
    length = static_cast<DWORD>(data.size());
    const bool present = RegQueryValueExA(key, name, nullptr, &type, data.data(), &length) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (!present) return "missing";
    std::string contents(reinterpret_cast<const char*>(data.data()));
    if (type == REG_DWORD && length == 4) {
        std::int32_t number = 0;
        std::memcpy(&number, data.data(), 4);
        contents = std::to_string(number);
    }
    return std::to_string(type) + ":" + contents + "/" + std::to_string(length);
}

bool storeValue(const char* keyPath, const char* name, DWORD type, const void* data, DWORD length) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const LONG status = type == REG_NONE ? RegDeleteValueA(key, name)
                                         : RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), length);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

}  // namespace e2e

// The end-to-end driver's helpers. Under Wine every program of the test
// prefix runs inside one virtual desktop, which is what gives windows the
// keyboard focus without a window manager; these helpers rely on that.
#include "tests/e2e/E2eSupport.h"

#include <cstring>

namespace e2e {

const char* const saverKeyPath = "Software\\VelmoranSaverLumra0_01";

namespace {

constexpr DWORD pollIntervalMs = 20;

struct WindowSearch {
    const char* className;
    const char* title;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(parameter);
    if (!IsWindowVisible(window)) {
        return TRUE;
    }
    if (search.processId != 0) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search.processId) {
            return TRUE;
        }
    }
    char text[256] = {};
    if (search.className != nullptr) {
        GetClassNameA(window, text, sizeof text);
        if (std::strcmp(text, search.className) != 0) {
            return TRUE;
        }
    }
    if (search.title != nullptr) {
        text[0] = '\0';
        GetWindowTextA(window, text, sizeof text);
        if (std::strcmp(text, search.title) != 0) {
            return TRUE;
        }
    }
    search.found = window;
    return FALSE;
}

void sendKeyEvent(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
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

}  // namespace

std::string saverPath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    const std::string::size_type slash = folder.find_last_of("\\/");
    folder.erase(slash == std::string::npos ? 0 : slash + 1);
    return folder + "lumra.scr";
}

SaverProcess::SaverProcess(const std::string& arguments) {
    // Windows quotes the program path and puts one blank before the switch.
    line = "\"" + saverPath() + "\"";
    if (!arguments.empty()) {
        line += " " + arguments;
    }
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        info = PROCESS_INFORMATION{};
    }
}

SaverProcess::~SaverProcess() {
    terminate();
    if (info.hThread != nullptr) {
        CloseHandle(info.hThread);
    }
    if (info.hProcess != nullptr) {
        CloseHandle(info.hProcess);
    }
}

bool SaverProcess::running() const {
    return started() && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT;
}

bool SaverProcess::waitForExit(DWORD timeoutMs, DWORD& exitCode) {
    if (!started() || WaitForSingleObject(info.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    return GetExitCodeProcess(info.hProcess, &exitCode) != 0;
}

void SaverProcess::terminate() {
    if (running()) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
}

HWND waitForWindow(const char* className, const char* title, DWORD timeoutMs, DWORD processId) {
    const DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search{className, title, processId, nullptr};
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            return search.found;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return nullptr;
        }
        Sleep(pollIntervalMs);
    }
}

bool waitForWindowGone(HWND window, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(pollIntervalMs);
    }
    return true;
}

void bringToFront(HWND window) {
    SetForegroundWindow(window);
    Sleep(50);
}

bool waitForFocus(HWND control, DWORD timeoutMs) {
    const DWORD thread = GetWindowThreadProcessId(control, nullptr);
    const DWORD start = GetTickCount();
    for (;;) {
        GUITHREADINFO gui{};
        gui.cbSize = sizeof gui;
        if (GetGUIThreadInfo(thread, &gui) && gui.hwndFocus == control) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        Sleep(pollIntervalMs);
    }
}

void pressKey(WORD virtualKey) {
    sendKeyEvent(virtualKey, false);
    sendKeyEvent(virtualKey, true);
    Sleep(30);
}

void typeText(const char* text) {
    for (; *text != '\0'; ++text) {
        char c = *text;
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');  // virtual keys of letters are the capitals
        }
        pressKey(static_cast<WORD>(static_cast<unsigned char>(c)));
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
        const DWORD start = GetTickCount();
        do {
            POINT at{};
            if (GetCursorPos(&at) && at.x == x && at.y == y) {
                return true;
            }
            Sleep(10);
        } while (GetTickCount() - start < 250);
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
        if (waitForFocus(control, attempt == 0 ? 0 : 500)) {
            return true;
        }
        pressKey(virtualKey);
    }
    return waitForFocus(control, 500);
}

bool deleteSaverKey() {
    const LONG status = RegDeleteKeyA(HKEY_CURRENT_USER, saverKeyPath);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

bool saverKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, saverKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

StoredValue readSaverValue(const char* name) {
    StoredValue value;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, saverKeyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return value;
    }
    DWORD length = 0;
    if (RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &length) == ERROR_SUCCESS) {
        value.data.resize(length);
        if (RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &length) ==
            ERROR_SUCCESS) {
            value.data.resize(length);
            value.present = true;
        }
    }
    RegCloseKey(key);
    if (!value.present) {
        value.data.clear();
    }
    return value;
}

}  // namespace e2e

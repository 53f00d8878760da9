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

// A mouse event at screen coordinates; absolute ones run from 0 to 65535 across the primary screen.
INPUT mouseAt(DWORD flags, int x, int y) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((x * 65535LL + (width - 1) / 2) / (width - 1));
    input.mi.dy = static_cast<LONG>((y * 65535LL + (height - 1) / 2) / (height - 1));
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

std::string errorText(DWORD code) {
    char text[256] = "no text";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text, 256, nullptr);
    const std::string said(text);
    return "error " + std::to_string(code) + " (" + said.substr(0, said.find_last_not_of("\r\n ") + 1) + ")";
}

std::string describe(HWND window) {
    char className[64] = {}, title[128] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    return std::string(className) + " \"" + title + "\"";
}

HWND focusOf(HWND control) {
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(GetWindowThreadProcessId(control, nullptr), &gui) ? gui.hwndFocus : nullptr;
}

// The top-level windows of one process, or the visible ones of all if
// processId is 0: "none" or a list of describe().
std::string topLevelWindows(DWORD processId) {
    std::string found;
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (processId == 0 ? !IsWindowVisible(window) : owner != processId) continue;
        found += (found.empty() ? "" : ", ") + describe(window) + (IsWindowVisible(window) ? "" : " (hidden)");
    }
    return found.empty() ? "none" : found;
}

testing::AssertionResult registryResult(const char* call, LONG status) {
    if (status == ERROR_SUCCESS) return testing::AssertionSuccess();
    return testing::AssertionFailure() << call << " failed with " << errorText(static_cast<DWORD>(status));
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

SaverProcess::SaverProcess(const std::string& arguments)
    // Windows quotes the program path and puts one blank before the switch.
    : commandLine("\"" + saverPath() + "\"" + (arguments.empty() ? "" : " " + arguments)) {
    std::string line = commandLine;  // CreateProcessA may write into it
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startTick = GetTickCount();
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        ADD_FAILURE() << commandLine << " did not start: CreateProcess failed with " << errorText(GetLastError());
        info = PROCESS_INFORMATION{};
    }
}

SaverProcess::~SaverProcess() {
    if (running()) kill();
    if (info.hThread != nullptr) CloseHandle(info.hThread);
    if (info.hProcess != nullptr) CloseHandle(info.hProcess);
}

testing::AssertionResult SaverProcess::kill() {
    const DWORD error = TerminateProcess(info.hProcess, 1) ? ERROR_SUCCESS : GetLastError();
    if (pollUntil(patienceMs, [&] { return !running(); })) return testing::AssertionSuccess();
    return testing::AssertionFailure() << commandLine << " still running " << patienceMs
                                       << " ms after TerminateProcess, which ended with " << errorText(error);
}

testing::AssertionResult SaverProcess::endsWith(DWORD expectedCode) {
    const DWORD since = GetTickCount();
    DWORD code = STILL_ACTIVE;
    if (!pollUntil(patienceMs, [&] { return !running(); })) {
        return testing::AssertionFailure() << commandLine << " still running after a wait of " << GetTickCount() - since
                                           << " ms, " << GetTickCount() - startTick << " ms after its start; its windows: "
                                           << topLevelWindows(info.dwProcessId);
    }
    GetExitCodeProcess(info.hProcess, &code);
    if (code == expectedCode) return testing::AssertionSuccess();
    return testing::AssertionFailure() << commandLine << " ended with " << code << ", not " << expectedCode;
}

HWND waitForWindow(const char* className, const char* title) {
    HWND found = nullptr;
    const auto visible = [&] { return (found = FindWindowA(className, title)) != nullptr && IsWindowVisible(found); };
    const testing::AssertionResult shown = pollUntil(patienceMs, visible);
    if (shown) return found;
    ADD_FAILURE() << "no visible window " << className << " \"" << title << "\": " << shown.message()
                  << (found != nullptr ? " (a hidden one was there)" : "")
                  << "; visible top-level windows last seen: " << topLevelWindows(0);
    return nullptr;
}

testing::AssertionResult waitUntilFocused(HWND control) {
    if (control == nullptr) return testing::AssertionFailure() << "no control to focus";
    const HWND root = GetAncestor(control, GA_ROOT);
    testing::AssertionResult ready = pollUntil(patienceMs, [&] {
        if (GetForegroundWindow() != root) SetForegroundWindow(root);
        return IsWindowVisible(control) && IsWindowEnabled(control) && focusOf(control) == control;
    });
    if (!ready) {
        const HWND focus = focusOf(control), front = GetForegroundWindow();
        ready << ": " << describe(control) << " was " << (IsWindowVisible(control) ? "visible" : "not visible") << ", "
              << (IsWindowEnabled(control) ? "enabled" : "not enabled") << ", the focus on "
              << (focus != nullptr ? describe(focus) : "nothing") << ", in front "
              << (front != nullptr ? describe(front) : "nothing");
    }
    return ready;
}

void pressKey(WORD virtualKey) {
    INPUT key[2] = {};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wVk = key[1].ki.wVk = virtualKey;
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, key, sizeof key[0]);
}

testing::AssertionResult moveMouseTo(int x, int y) {
    INPUT move = mouseAt(0, x, y);
    SendInput(1, &move, sizeof move);
    // GetCursorPos reads the X pointer once the cursor has been still for a
    // moment: this is where the warp put it.
    POINT at{};
    const auto landed = [&] { return GetCursorPos(&at) && at.x == x && at.y == y; };
    const testing::AssertionResult there = pollUntil(patienceMs, landed);
    if (there) return there;
    return testing::AssertionFailure() << "the cursor is at " << at.x << "," << at.y << ", not " << x << "," << y
                                       << ", " << there.message();
}

void leftClickAt(int x, int y) {
    INPUT click[2] = {mouseAt(MOUSEEVENTF_LEFTDOWN, x, y), mouseAt(MOUSEEVENTF_LEFTUP, x, y)};
    SendInput(2, click, sizeof click[0]);
}

testing::AssertionResult deleteSaverKey() {
    const LONG status = RegDeleteKeyA(HKEY_CURRENT_USER, saverKey);
    return registryResult("RegDeleteKeyA", status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status);
}

testing::AssertionResult lockSaverKey(bool locked) {
    HKEY key = nullptr;
    testing::AssertionResult done = registryResult("RegCreateKeyExA", RegCreateKeyExA(HKEY_CURRENT_USER, saverKey, 0,
        nullptr, 0, READ_CONTROL | WRITE_DAC, nullptr, &key, nullptr));
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (done && !ConvertStringSecurityDescriptorToSecurityDescriptorA(locked ? "D:P(A;;KR;;;WD)" : "D:P(A;;KA;;;WD)",
                                                                      SDDL_REVISION_1, &descriptor, nullptr)) {
        done = testing::AssertionFailure() << "ConvertStringSecurityDescriptorToSecurityDescriptorA failed with "
                                           << errorText(GetLastError());
    }
    if (done) done = registryResult("RegSetKeySecurity", RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor));
    LocalFree(descriptor);
    RegCloseKey(key);
    return done;
}

std::string savedValue(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, saverKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return "no key";
    DWORD type = 0, length = 4096;
    std::vector<char> data(length + 1);
    const LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &length);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return "missing";
    std::int32_t number = 0;
    std::memcpy(&number, data.data(), sizeof number);
    const std::string contents = type == REG_DWORD && length == 4 ? std::to_string(number) : data.data();
    return std::to_string(type) + ":" + contents + "/" + std::to_string(length);
}

testing::AssertionResult storeValue(const char* keyPath, const char* name, DWORD type, const void* data, DWORD length) {
    HKEY key = nullptr;
    testing::AssertionResult done = registryResult(
        "RegCreateKeyExA", RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr));
    if (!done) return done;
    done = registryResult("RegSetValueExA", RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), length));
    RegCloseKey(key);
    return done;
}

}  // namespace e2e

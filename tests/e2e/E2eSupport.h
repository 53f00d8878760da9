// Helpers of the end-to-end driver: start lumra.scr as Windows starts a
// screen saver, wait for its windows and its exit, send it real input, and
// look at the registry. Waiting is done by polling. Whatever can fail says
// what happened (the Windows error, how long it waited, what it saw last)
// through the testing::AssertionResult it returns.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace e2e {

// The ceiling of every wait for something a working program does (a window
// showing, a run ending): far above what any run takes, even the first in a
// new prefix on a loaded machine, so a green run never reaches it.
constexpr DWORD patienceMs = 30000;

// The lumra.scr beside the driver, or the one LUMRA_SCR names.
std::string saverPath();
// A window handle as a switch carries it: in decimal.
std::string handleText(HWND window);

// One lumra.scr run with the given switches, ended if a failed test left it running.
class SaverProcess {
public:
    explicit SaverProcess(const std::string& arguments);
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    // Fails with CreateProcess's error and the command line.
    testing::AssertionResult started() const;
    bool running() const { return info.hProcess != nullptr && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
    // True once the process has ended within timeoutMs, the driver's own
    // messages handled meanwhile; exitCode then holds its code.
    testing::AssertionResult waitForExit(DWORD timeoutMs, DWORD& exitCode);
    // Ends it as Windows ends a preview it no longer shows, and waits until it is gone.
    testing::AssertionResult kill();

private:
    std::string commandLine;
    DWORD startError = 0;
    DWORD startTick = 0;
    PROCESS_INFORMATION info{};
};

// "error N (the system's text for it)".
std::string errorText(DWORD code);

// Calls done every intervalMs, handling the driver's own messages (a preview
// host lives there) in between, until it is true or timeoutMs has passed.
template <typename Check>
testing::AssertionResult pollUntil(DWORD timeoutMs, Check done, DWORD intervalMs = 20) {
    for (const DWORD start = GetTickCount();; Sleep(intervalMs)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (done()) return testing::AssertionSuccess();
        if (GetTickCount() - start >= timeoutMs) {
            return testing::AssertionFailure() << "not so after " << GetTickCount() - start << " ms";
        }
    }
}

// A window as "class \"title\"".
std::string describe(HWND window);

// A visible top-level window of this class and title, or null after timeoutMs.
// A wait that runs out (timeoutMs above 0) is a test failure that says how
// long it waited, whether a hidden one was there, and every visible
// top-level window it saw last.
HWND waitForWindow(const char* className, const char* title, DWORD timeoutMs = patienceMs);
// Brings control's window to the front and waits until control is visible,
// enabled and holds the keyboard focus: input sent any earlier is now and
// then lost.
testing::AssertionResult waitUntilFocused(HWND control);

// Real input through SendInput; it goes to the foreground window.
void pressKey(WORD virtualKey);
// Absolute move to screen coordinates; fails if the cursor never got there.
testing::AssertionResult moveMouseTo(int x, int y);
void leftClick();
void clickWindow(HWND window);  // brings it to the front, moves to its centre and clicks

// The saver's own key: removed, made readable only (locked) or writable
// again, and a value of it as "type:contents/length" (numbers in decimal,
// texts up to their terminator), "missing" or "no key".
testing::AssertionResult deleteSaverKey();
testing::AssertionResult lockSaverKey(bool locked);
std::string savedValue(const char* name);
// Writes a value under the current user; REG_NONE removes it.
constexpr const char* saverKey = "Software\\VelmoranSaverLumra0_01";
constexpr const char* systemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
testing::AssertionResult storeValue(const char* keyPath, const char* name, DWORD type, const void* data, DWORD length);

}  // namespace e2e

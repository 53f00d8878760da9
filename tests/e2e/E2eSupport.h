// Helpers of the end-to-end driver: start lumra.scr as Windows starts a
// screen saver, wait for its windows and its exit, send it real input, and
// look at the registry. Waiting is done by polling. Whatever can fail says
// what happened (the Windows error, how long it waited, what it saw last).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace e2e {

// The ceiling of every wait for something a working program does: far above
// what any run takes, even the first in a new prefix on a loaded machine.
constexpr DWORD patienceMs = 30000;

// The lumra.scr beside the driver, or the one LUMRA_SCR names.
std::string saverPath();
// A window handle as a switch carries it: in decimal.
std::string handleText(HWND window);

// One lumra.scr run with the given switches (a start that fails is a test
// failure), ended if a failed test left it running.
class SaverProcess {
public:
    explicit SaverProcess(const std::string& arguments);
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool running() const { return info.hProcess != nullptr && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
    DWORD waitUntilIdle() const { return WaitForInputIdle(info.hProcess, patienceMs); }  // first wait for input
    // Waits until it has ended, the driver's own messages handled meanwhile,
    // and fails unless it ended with expectedCode.
    testing::AssertionResult endsWith(DWORD expectedCode);
    // Ends it as Windows ends a preview it no longer shows, and waits until it is gone.
    testing::AssertionResult kill();

private:
    std::string commandLine;
    DWORD startTick = 0;
    PROCESS_INFORMATION info{};
};

// Calls done every intervalMs, handling the driver's own messages (a preview
// host lives there) in between, until it is true or timeoutMs has passed.
template <typename Check> testing::AssertionResult pollUntil(DWORD timeoutMs, Check done, DWORD intervalMs = 20) {
    for (const DWORD start = GetTickCount();; Sleep(intervalMs)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (done()) return testing::AssertionSuccess();
        if (GetTickCount() - start >= timeoutMs) {
            return testing::AssertionFailure() << "not so after " << GetTickCount() - start << " ms";
        }
    }
}

// A visible top-level window of this class and title, or null and a test
// failure that says whether a hidden one was there and which visible ones were.
HWND waitForWindow(const char* className, const char* title);
// Brings control's window to the front and waits until control is visible,
// enabled and holds the keyboard focus: input sent any earlier is now and
// then lost.
testing::AssertionResult waitUntilFocused(HWND control);

// Real input through SendInput: keys go to the focus; a click carries its
// place, as a move over a window may not stay (docs/testing.md tells why).
void pressKey(WORD virtualKey);
// Absolute move to screen coordinates; fails if the pointer never got there.
testing::AssertionResult moveMouseTo(int x, int y);
void leftClickAt(int x, int y);

// The saver's own key: removed, made readable only (locked) or writable
// again, and a value of it as "type:contents/length" (numbers in decimal,
// texts up to their terminator), "missing" or "no key".
testing::AssertionResult deleteSaverKey();
testing::AssertionResult lockSaverKey(bool locked);
std::string savedValue(const char* name);
constexpr const char* saverKey = "Software\\VelmoranSaverLumra0_01";
constexpr const char* systemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
testing::AssertionResult storeValue(const char* keyPath, const char* name, DWORD type, const void* data, DWORD length);

}  // namespace e2e

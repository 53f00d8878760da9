// Helpers of the end-to-end driver: start lumra.scr as Windows starts a
// screen saver, wait for its windows and its exit, send it real input, and
// look at the registry. Waiting is done by polling.
#pragma once

#include <windows.h>

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

    bool started() const { return info.hProcess != nullptr; }
    bool running() const { return started() && WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT; }
    // True once the process has ended within timeoutMs, the driver's own
    // messages handled meanwhile; exitCode then holds its code.
    bool waitForExit(DWORD timeoutMs, DWORD& exitCode);
    // Ends it as Windows ends a preview it no longer shows, and waits until it is gone.
    void kill();

private:
    PROCESS_INFORMATION info{};
};

// Calls done every intervalMs, handling the driver's own messages (a preview
// host lives there) in between, until it is true or timeoutMs has passed.
template <typename Check>
bool pollUntil(DWORD timeoutMs, Check done, DWORD intervalMs = 20) {
    for (const DWORD start = GetTickCount();; Sleep(intervalMs)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
    }
}

// A visible top-level window of this class and title, or null after timeoutMs.
HWND waitForWindow(const char* className, const char* title, DWORD timeoutMs = patienceMs);
// Brings control's window to the front and waits until control is visible,
// enabled and holds the keyboard focus: input sent any earlier is now and
// then lost.
bool waitUntilFocused(HWND control);

// Real input through SendInput; it goes to the foreground window.
void pressKey(WORD virtualKey);
// Absolute move to screen coordinates; false if the cursor never got there.
bool moveMouseTo(int x, int y);
void leftClick();
void clickWindow(HWND window);  // brings it to the front, moves to its centre and clicks

// The saver's own key: removed, made readable only (locked) or writable
// again, and a value of it as "type:contents/length" (numbers in decimal,
// texts up to their terminator), "missing" or "no key".
bool deleteSaverKey();
bool lockSaverKey(bool locked);
std::string savedValue(const char* name);
// Writes a value under the current user; REG_NONE removes it.
constexpr const char* saverKey = "Software\\VelmoranSaverLumra0_01";
constexpr const char* systemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";
bool storeValue(const char* keyPath, const char* name, DWORD type, const void* data, DWORD length);

}  // namespace e2e

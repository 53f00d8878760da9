// Helpers shared by the end-to-end driver: start lumra.scr as Windows starts
// a screen saver, wait for its windows and its exit, send it real input, and
// look at the registry it writes. Waiting is done by polling.
#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// The lumra.scr beside the driver, or the one LUMRA_SCR names.
std::string saverPath();

// One lumra.scr started from the driver's folder with the given switches
// ("/s", "/p 1234"; empty for the program name alone). The destructor ends
// a process a failed test left running.
class SaverProcess {
public:
    explicit SaverProcess(const std::string& arguments);
    ~SaverProcess();
    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool started() const { return info.hProcess != nullptr; }
    DWORD processId() const { return info.dwProcessId; }
    bool running() const;
    // True once the process has ended within timeoutMs; exitCode then holds its code.
    bool waitForExit(DWORD timeoutMs, DWORD& exitCode);

private:
    PROCESS_INFORMATION info{};
};

// Handles the driver thread's own messages (a preview host lives there).
void pumpMessages();

// Calls done every intervalMs, pumping messages in between, until it is true
// or timeoutMs has passed.
template <typename Check>
bool pollUntil(DWORD timeoutMs, Check done, DWORD intervalMs = 20) {
    for (const DWORD start = GetTickCount();; pumpMessages(), Sleep(intervalMs)) {
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
    }
}

// A visible top-level window with this class and title (null for any), of
// processId when nonzero; null when none appears within timeoutMs.
HWND waitForWindow(const char* className, const char* title, DWORD timeoutMs, DWORD processId = 0);

// Real input through SendInput. Input goes to the foreground window.
void bringToFront(HWND window);
void pressKey(WORD virtualKey);
void typeText(const char* text);  // letters, digits and spaces
// Absolute move to screen coordinates; false if the cursor never got there.
bool moveMouseTo(int x, int y);
void leftClick();
void clickWindow(HWND window);  // moves to its centre and clicks
// Presses virtualKey (Tab, say) until control has the keyboard focus; keys
// pressed before the focus is confirmed are sometimes lost under Wine.
bool focusByKeyboard(HWND control, WORD virtualKey);

// The saver's own registry key.
bool deleteSaverKey();
bool saverKeyExists();
// Makes the saver's key readable only (locked) or writable again.
bool lockSaverKey(bool locked);
// Writes a value of the system's screen-saver key; REG_NONE removes it.
bool storeSystemValue(const char* name, DWORD type, const void* data, DWORD length);
// A stored value as "type:contents/length": numbers in decimal, texts up to
// their terminator; "missing" when it is not there.
std::string savedValue(const char* name);

}  // namespace e2e

// Helpers shared by the end-to-end driver: start lumra.scr as Windows starts
// a screen saver, wait for its windows and its exit, send it real input, and
// look at the registry it writes. Nothing here pumps messages: the driver has
// no windows of its own unless a test makes one, and waits by polling.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The saver's registry key under HKEY_CURRENT_USER.
extern const char* const saverKeyPath;

// lumra.scr in the folder of the running driver.
std::string saverPath();

// One started lumra.scr. The destructor terminates the process if a test left
// it running, so a failed test never leaves a saver behind for the next one.
class SaverProcess {
public:
    // arguments is what follows the program name, for example "/s" or "/p 1234";
    // empty starts it with the program name alone.
    explicit SaverProcess(const std::string& arguments);
    ~SaverProcess();

    SaverProcess(const SaverProcess&) = delete;
    SaverProcess& operator=(const SaverProcess&) = delete;

    bool started() const { return info.hProcess != nullptr; }
    DWORD processId() const { return info.dwProcessId; }
    DWORD threadId() const { return info.dwThreadId; }
    HANDLE handle() const { return info.hProcess; }
    // The command line it was started with.
    const std::string& commandLine() const { return line; }

    bool running() const;
    // True once the process has ended within timeoutMs; exitCode then holds its code.
    bool waitForExit(DWORD timeoutMs, DWORD& exitCode);
    void terminate();

private:
    std::string line;
    PROCESS_INFORMATION info{};
};

// Polls (with Sleep) until a visible top-level window with this class and
// title exists, either of which may be null for "any". With processId nonzero
// only windows of that process count. Returns null on timeout.
HWND waitForWindow(const char* className, const char* title, DWORD timeoutMs, DWORD processId = 0);
// Polls until window no longer exists. True if it went away in time.
bool waitForWindowGone(HWND window, DWORD timeoutMs);

// Brings window to the foreground (input goes to the foreground window).
void bringToFront(HWND window);
// Polls until control has the keyboard focus of its GUI thread.
bool waitForFocus(HWND control, DWORD timeoutMs);
// Brings control's window to the front and presses virtualKey (Tab, say)
// until control has the keyboard focus; false if it never gets it. Keys
// pressed before the focus is confirmed are sometimes lost under Wine.
bool focusByKeyboard(HWND control, WORD virtualKey);

// Real input through SendInput.
void pressKey(WORD virtualKey);
// Types letters, digits and spaces as key presses.
void typeText(const char* text);
// Absolute mouse move to screen coordinates (x, y). Waits until the cursor
// reports the new position; false if it never did.
bool moveMouseTo(int x, int y);
void leftClick();
// Moves to the centre of window and clicks it.
void clickWindow(HWND window);

// Registry of the saver's own key.
bool deleteSaverKey();
bool saverKeyExists();
struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::vector<BYTE> data;
};
StoredValue readSaverValue(const char* name);

}  // namespace e2e

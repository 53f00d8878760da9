// Translation between Windows messages and the close rules. The procedure can
// run while the window is being built, and again while the entry point shows
// an error box after the window object is gone, so it reads the object and
// the settings record through pointers that may be null. Once the object is
// gone there is no run left to end: a close request then would post the quit
// message into the error box's own message loop and dismiss the box unread
// (showing the box deactivates the saver window, which is a close rule).
#include "display/win32/SaverWindowProc.h"

#include <wtsapi32.h>

#include "display/win32/GLWindow.h"
#include "shell/RunMode.h"
#include "shell/SaverSettings.h"

namespace {

class SystemCursor : public CursorSource {
public:
    bool cursorPosition(ScreenPoint& position) override {
        POINT point{};
        if (!GetCursorPos(&point)) {
            return false;
        }
        position.x = point.x;
        position.y = point.y;
        return true;
    }
};

// The console display's state, sent once when the window registers for it and
// again on every change: 0 off, 1 on, 2 dimmed (still seen).
SaverEvent displayStateEvent(WPARAM wParam, LPARAM lParam) {
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
    if (wParam != PBT_POWERSETTINGCHANGE || setting == nullptr ||
        !IsEqualGUID(setting->PowerSetting, GUID_CONSOLE_DISPLAY_STATE) || setting->DataLength < sizeof(DWORD)) {
        return SaverEvent::Other;
    }
    DWORD state = 0;
    CopyMemory(&state, setting->Data, sizeof state);
    return state == 0 ? SaverEvent::DisplayOff : SaverEvent::DisplayOn;
}

SaverEvent sessionEvent(WPARAM wParam) {
    switch (wParam) {
    case WTS_SESSION_LOCK:
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT:
        return SaverEvent::SessionAway;
    case WTS_SESSION_UNLOCK:
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT:
        return SaverEvent::SessionBack;
    default:
        return SaverEvent::Other;
    }
}

}  // namespace

CursorSource& systemCursor() {
    static SystemCursor cursor;
    return cursor;
}

SaverEvent translateMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_POWERBROADCAST:
        return displayStateEvent(wParam, lParam);
    case WM_WTSSESSION_CHANGE:
        return sessionEvent(wParam);
    case WM_DESTROY:
    case WM_CLOSE:
    case WM_QUIT:
        return SaverEvent::Ending;
    // A zero wParam means deactivation: WM_ACTIVATE with WA_INACTIVE and the
    // window not minimized, another application activated, or the inactive
    // caption requested. The whole wParam counts, on 64-bit its high half too.
    case WM_ACTIVATE:
    case WM_ACTIVATEAPP:
    case WM_NCACTIVATE:
        return wParam == 0 ? SaverEvent::Deactivated : SaverEvent::Activated;
    case WM_SETCURSOR:
        return SaverEvent::SetCursor;
    // System keys (Alt, F10), button releases, double clicks and the wheel
    // are not among these: they never end a run.
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return SaverEvent::KeyOrButton;
    case WM_MOUSEMOVE:
        return SaverEvent::MouseMove;
    case WM_SYSCOMMAND:
        return SaverEvent::SystemCommand;
    // Windows tells every top-level window of a monitor added, removed or
    // moved, and of a new resolution, with this one message.
    case WM_DISPLAYCHANGE:
        return SaverEvent::DeskChanged;
    default:
        return SaverEvent::Other;
    }
}

namespace {

// Without a live window object there is no timer to read: the elapsed time
// is 0, which keeps the mouse rule inactive exactly as before the timer starts.
CloseAction answer(SaverEvent event) {
    GLWindow* const run = GLWindow::instance;
    if (run != nullptr) return run->run.handle(event, systemCursor());
    CloseState idle;
    idle.runMode = RunMode;
    return decideCloseAction(event, idle, systemCursor());
}

}  // namespace

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool runLive = GLWindow::instance != nullptr;
    switch (answer(translateMessage(message, wParam, lParam))) {
    case CloseAction::RequestClose:
        if (runLive && globalSettings != nullptr) {
            globalSettings->requestClose();
        }
        return 0;
    case CloseAction::PostQuit:
        if (runLive) {
            PostQuitMessage(0);
        }
        return 0;
    case CloseAction::HideCursor:
        SetCursor(nullptr);
        return 0;
    case CloseAction::ArrowCursor:
        SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512) /* IDC_ARROW */));
        return 0;
    case CloseAction::Nothing:
        return 0;
    case CloseAction::DefaultProcessing:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Translation between Windows messages and the close rules. The procedure can
// run while the window is being built, and again while the entry point shows
// an error box after the window object is gone, so it reads the object and
// the settings record through pointers that may be null. Once the object is
// gone there is no run left to end: a close request then would post the quit
// message into the error box's own message loop and dismiss the box unread
// (showing the box deactivates the saver window, which is a close rule).
#include "display/win32/SaverWindowProc.h"

#include "display/CloseRules.h"
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

// Without a live window object the timer reads 0, which keeps the mouse rule
// inactive exactly as before the timer starts.
CloseState currentCloseState() {
    CloseState state;
    state.runMode = RunMode;
    const GLWindow* window = GLWindow::instance;
    state.elapsedSeconds = window != nullptr ? window->timer.elapsedSeconds() : 0.0f;
    if (globalSettings != nullptr) {
        state.cursorBaseKnown = window != nullptr && window->cursorBaseRecorded();
        state.cursorBase.x = globalSettings->cursorBase.x;
        state.cursorBase.y = globalSettings->cursorBase.y;
        state.mouseThreshold = globalSettings->mouseThreshold;
    }
    return state;
}

}  // namespace

LRESULT CALLBACK saverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SystemCursor cursor;
    const bool runLive = GLWindow::instance != nullptr;
    switch (decideCloseAction(message, wParam, currentCloseState(), cursor)) {
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

// The close rules of the saver window. In Saver mode any key, button press,
// loss of activation or real mouse travel ends the run; a preview ends only
// when its host deactivates or destroys it.
#include "display/CloseRules.h"

#include <cstdlib>

#include "shell/RunMode.h"

namespace {

bool isDrawingMode(std::int32_t runMode) {
    return runMode == Mode::Saver || runMode == Mode::Preview;
}

// Moving the mouse while the saver starts up (or the window that shows it
// appearing under the cursor) sends mouse messages that are no user input,
// so the first half second is ignored. Travel is measured from the position
// taken when the window was shown.
CloseAction mouseMoveRule(const CloseState& state, CursorSource& cursor) {
    if (state.runMode != Mode::Saver || !(state.elapsedSeconds > 0.5) || !state.cursorBaseKnown) {
        return CloseAction::Nothing;
    }
    ScreenPoint position;
    if (!cursor.cursorPosition(position)) {
        return CloseAction::Nothing;
    }
    return mouseTravelExceeds(position, state.cursorBase, state.mouseThreshold)
               ? CloseAction::RequestClose
               : CloseAction::Nothing;
}

}  // namespace

bool mouseTravelExceeds(ScreenPoint position, ScreenPoint base, std::int32_t threshold) {
    // 64-bit, so positions far apart cannot overflow the difference.
    const std::int64_t dx = std::llabs(std::int64_t{position.x} - base.x);
    const std::int64_t dy = std::llabs(std::int64_t{position.y} - base.y);
    return dx > threshold || dy > threshold;
}

CloseAction decideCloseAction(SaverEvent event, const CloseState& state, CursorSource& cursor) {
    switch (event) {
    // A close is answered with the quit message rather than passed on, so
    // the window is never destroyed by a close; the frame loop ends instead.
    case SaverEvent::Ending:
        return CloseAction::PostQuit;
    case SaverEvent::Deactivated:
        return isDrawingMode(state.runMode) ? CloseAction::RequestClose : CloseAction::Nothing;
    case SaverEvent::Activated:
        return CloseAction::Nothing;
    case SaverEvent::SetCursor:
        return state.runMode == Mode::Saver ? CloseAction::HideCursor : CloseAction::ArrowCursor;
    case SaverEvent::KeyOrButton:
        return state.runMode == Mode::Saver ? CloseAction::RequestClose : CloseAction::Nothing;
    case SaverEvent::MouseMove:
        return mouseMoveRule(state, cursor);
    // Every system command is refused: a running saver must not start
    // another saver, be closed from the system menu, or open menus.
    case SaverEvent::SystemCommand:
        return CloseAction::Nothing;
    case SaverEvent::DisplayOff:
    case SaverEvent::DisplayOn:
    case SaverEvent::SessionAway:
    case SaverEvent::SessionBack:
    case SaverEvent::HostHidden:
    case SaverEvent::HostShown:
    case SaverEvent::DeskChanged:
    case SaverEvent::Other:
        break;
    }
    return CloseAction::DefaultProcessing;
}

// The rules that end a drawing run, as a pure decision over a portable
// event: a host translates what its system tells into a SaverEvent, hands it
// in with the state the rules need (the run builds that state), and carries
// the answer back to its system.
#pragma once

#include <cstdint>

#include "display/SaverEvent.h"
#include "shell/ScreenPoint.h"

enum class CloseAction {
    Nothing,            // answer 0
    RequestClose,       // ask the saver window to close, answer 0
    PostQuit,           // post the quit message, answer 0
    HideCursor,         // no cursor over the window, answer 0
    ArrowCursor,        // the arrow cursor, answer 0
    DefaultProcessing,  // hand the message to the default procedure
};

// Where the cursor is now, read only when the mouse rule needs it.
class CursorSource {
public:
    virtual ~CursorSource() = default;
    // False when the position cannot be read.
    virtual bool cursorPosition(ScreenPoint& position) = 0;
};

// A host that never reads the pointer: mouse travel cannot end its runs.
class NoCursor : public CursorSource {
public:
    bool cursorPosition(ScreenPoint&) override { return false; }
};

struct CloseState {
    std::int32_t runMode = 0;
    float elapsedSeconds = 0.0f;
    // False when the position at start could not be read: travel cannot be
    // measured then, so mouse movement alone never ends the run.
    bool cursorBaseKnown = false;
    ScreenPoint cursorBase;
    std::int32_t mouseThreshold = 0;
};

CloseAction decideCloseAction(SaverEvent event, const CloseState& state, CursorSource& cursor);

// True when the cursor is farther than threshold from base along either axis.
bool mouseTravelExceeds(ScreenPoint position, ScreenPoint base, std::int32_t threshold);

// Where the host has no window procedure to answer: a close requested or the
// quit posted both end the run at once.
inline bool endsTheRun(CloseAction action) {
    return action == CloseAction::RequestClose || action == CloseAction::PostQuit;
}

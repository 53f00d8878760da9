// The rules that end a drawing run, as a pure decision over a portable
// event: the window procedure translates each Windows message into a
// SaverEvent, hands it in with the state the rules need, and carries the
// answer back to Windows.
#pragma once

#include <cstdint>

#include "shell/SaverSettings.h"

enum class SaverEvent {
    KeyOrButton,    // a key pressed or released, a mouse button pressed
    MouseMove,
    Activated,      // the window or the application gained activation
    Deactivated,    // ... or lost it
    Ending,         // close, destroy or quit
    SetCursor,
    SystemCommand,  // any command of the system menu, screen saving included
    // What decides whether anyone can see a frame; the close rules pass them on.
    DisplayOff,
    DisplayOn,
    SessionAway,    // locked or disconnected
    SessionBack,
    HostHidden,     // a preview's host hidden or minimised
    HostShown,
    DeskChanged,    // monitors added, removed or rearranged, or a resolution changed
    Other,
};

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

// What happened, in the host's own terms translated into the few things the
// run decides on: the close rules, the pacing and the desk.
#pragma once

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

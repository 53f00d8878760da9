// The rules that end a drawing run, as a pure decision: the window procedure
// hands in the message and the state it needs, and carries the answer back
// to Windows. Message numbers are the system's, kept here as plain constants
// so this file needs no Windows header.
#pragma once

#include <cstdint>

namespace WindowMessage {
constexpr std::uint32_t Destroy = 0x0002;
constexpr std::uint32_t Activate = 0x0006;
constexpr std::uint32_t Close = 0x0010;
constexpr std::uint32_t Quit = 0x0012;
constexpr std::uint32_t ActivateApp = 0x001C;
constexpr std::uint32_t SetCursor = 0x0020;
constexpr std::uint32_t NcActivate = 0x0086;
constexpr std::uint32_t KeyDown = 0x0100;
constexpr std::uint32_t KeyUp = 0x0101;
constexpr std::uint32_t SysCommand = 0x0112;
constexpr std::uint32_t MouseMove = 0x0200;
constexpr std::uint32_t LeftButtonDown = 0x0201;
constexpr std::uint32_t RightButtonDown = 0x0204;
constexpr std::uint32_t MiddleButtonDown = 0x0207;
}  // namespace WindowMessage

namespace SystemCommand {
constexpr std::uint64_t Close = 0xF060;
constexpr std::uint64_t ScreenSave = 0xF140;
}  // namespace SystemCommand

enum class CloseAction {
    Nothing,            // answer 0
    RequestClose,       // ask the saver window to close, answer 0
    PostQuit,           // post the quit message, answer 0
    HideCursor,         // no cursor over the window, answer 0
    ArrowCursor,        // the arrow cursor, answer 0
    DefaultProcessing,  // hand the message to the default procedure
};

struct ScreenPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
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

CloseAction decideCloseAction(std::uint32_t message, std::uint64_t wParam, const CloseState& state,
                              CursorSource& cursor);

// True when the cursor is farther than threshold from base along either axis.
bool mouseTravelExceeds(ScreenPoint position, ScreenPoint base, std::int32_t threshold);

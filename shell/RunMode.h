// The process-wide values that the command line sets once: the run mode and
// the window handle it names, plus the module instance. Handles cross into
// portable code as opaque integers wide enough for a pointer, so no portable
// header needs <windows.h>.
#pragma once

#include <cstdint>

using NativeHandle = std::uintptr_t;

namespace Mode {
constexpr std::int32_t None = 0;  // only before the command line is parsed
constexpr std::int32_t Configure = 1;
constexpr std::int32_t ChangePassword = 2;
constexpr std::int32_t Preview = 3;
constexpr std::int32_t Saver = 4;
}  // namespace Mode

extern std::int32_t RunMode;
extern NativeHandle moduleInstance;
// The handle from the command line; window creation replaces it with the
// saver window in the two drawing modes.
extern NativeHandle mainWindowHandle;

// Puts the three values back to their program-start state (for tests).
void resetRunModeGlobals();

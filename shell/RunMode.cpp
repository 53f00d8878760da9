// Definitions of the run-mode globals; each lives here and nowhere else.
#include "shell/RunMode.h"

std::int32_t RunMode = Mode::None;
NativeHandle moduleInstance = 0;
NativeHandle mainWindowHandle = 0;

void resetRunModeGlobals() {
    RunMode = Mode::None;
    moduleInstance = 0;
    mainWindowHandle = 0;
}

// Parsing of the screen-saver command line into a run mode and a window
// handle. Portable: the one Windows-dependent step, the foreground-window
// fallback of the configure switch, is left to the caller through a flag.
#pragma once

#include <cstdint>

struct CommandLineResult {
    // False for an unknown switch: the program ends at once with exit code 0.
    bool proceed = false;
    std::int32_t mode = 0;
    // The number after the switch, read as atoi reads it (so it may be negative).
    std::int32_t handle = 0;
    // Set for the configure switch with nothing after it: the caller uses the
    // current foreground window as the dialog's owner.
    bool useForegroundWindow = false;
};

// line is the whole command line, program name first, as GetCommandLineA gives it.
CommandLineResult parseCommandLine(const char* line);

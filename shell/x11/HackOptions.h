// The Linux program's command line, as XScreenSaver and its settings program
// pass it: where to draw (-root, -window-id, its own window), which display,
// and the program's own options, which go into a CommandLineStore under the
// names the registry uses on Windows.
#pragma once

#include <cstdio>
#include <string>

#include "shell/x11/CommandLineStore.h"

enum class HackTarget {
    OwnWindow,  // -window, or no switch: a window of its own, for trying it
    Root,       // the window named in XSCREENSAVER_WINDOW, else the root window
    WindowId,   // -window-id: the settings program's preview
};

struct HackOptions {
    HackTarget target = HackTarget::OwnWindow;
    unsigned long windowId = 0;
    std::string display;  // empty: $DISPLAY
    bool help = false;
};

struct HackParse {
    bool ok = false;
    std::string error;  // one line, without the program's name, when !ok
    HackOptions options;
};

// argv[0] is the program's name. Each own option is written into store.
HackParse parseHackOptions(int argc, const char* const* argv, CommandLineStore& store);

// What -help prints: every switch and option with its values.
void printHackHelp(std::FILE* out);

// A window id as X and XScreenSaver write them: 0x-prefixed hex, or decimal
// (leading zeros included: never octal). False unless the whole text is such
// a number naming a possible window.
bool parseWindowId(const char* text, unsigned long& id);

// A value as a message quotes it: its first 64 characters at most, each that
// a terminal would act on shown as '?'.
std::string quotedValue(const std::string& value);

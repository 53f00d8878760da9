// Where the saver's window goes when it must cover every monitor, and where
// each monitor's picture sits inside it: the primary's first, exactly where a
// single-monitor desk would have it, then every other monitor's. A host that
// is handed a window (XScreenSaver's) places the pictures of the monitors it
// covers inside it; one whose compositor gives every output a surface of its
// own lays out a desk of several surfaces.
#pragma once

#include <cstddef>
#include <cstdint>

// A rectangle in virtual-screen pixels; right and bottom are exclusive, as in
// the system's RECT.
struct ScreenRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
};

struct MonitorRect {
    ScreenRect area;
    bool primary = false;
    // What names the monitor while the desk changes around it (its output),
    // so that it keeps its picture; 0 when the system names none.
    std::uint32_t id = 0;
};

// A GL viewport: its origin is the window's bottom-left corner.
struct Viewport {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// More monitors than any desk has; the lists stay fixed arrays, which keeps
// the standard library's allocation and exception code out of the executable.
constexpr std::size_t MaxMonitors = 64;

// The monitors as a system lists them; none when they cannot be read.
struct MonitorList {
    MonitorRect monitors[MaxMonitors];
    std::size_t count = 0;
};

struct ScreenLayout {
    ScreenRect window;
    // viewports[0] is the primary monitor's; the others follow in the order listed.
    Viewport viewports[MaxMonitors];
    std::uint32_t monitorIds[MaxMonitors] = {};  // the id of the monitor each viewport shows
    std::size_t count = 0;
};

// One picture filling a window of that size (a preview, or a desk whose
// monitors cannot be read).
ScreenLayout wholeWindow(std::int32_t width, std::int32_t height);

// The window is the bounding box of the monitors, and every monitor with an
// area gets a viewport. Without a usable monitor (the list could not be read)
// the window is the primary screen alone at (0, 0), fallbackWidth by
// fallbackHeight. If no monitor is flagged primary, the one whose corner is
// the origin is taken, since that is where Windows puts the primary, else the
// first.
ScreenLayout layoutScreens(const MonitorRect* monitors, std::size_t count, std::int32_t fallbackWidth,
                           std::int32_t fallbackHeight);

// The monitors clipped to a window that lies at window on the screen, laid
// out as above, with the viewports counted from the window's own corner (the
// monitors need not cover it all). The layout's window is the whole window at
// (0, 0); a window over no listed monitor is one picture.
ScreenLayout layoutInWindow(const ScreenRect& window, const MonitorRect* monitors, std::size_t count);

// More surfaces than any desk has outputs.
constexpr std::size_t MaxSurfaces = 16;

// Every surface a host draws into, each with the pictures inside it, and how
// often its display refreshes (0 when nobody says). The primary's picture is
// the first of the first surface.
struct DeskLayout {
    DeskLayout() = default;
    // Most hosts draw into one window: a desk of that one surface.
    DeskLayout(const ScreenLayout& window, double hertz = 0.0) : count(1) {  // NOLINT: implicit on purpose
        surfaces[0] = window;
        refreshHertz[0] = hertz;
    }
    ScreenLayout surfaces[MaxSurfaces];
    double refreshHertz[MaxSurfaces] = {};
    std::size_t count = 0;
};

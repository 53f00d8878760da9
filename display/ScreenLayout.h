// Where the saver's window goes when it must cover every monitor, and where
// the picture sits inside it: the primary monitor shows exactly the picture a
// single-monitor desk would, the rest of the window stays black.
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
};

// A GL viewport: its origin is the window's bottom-left corner.
struct Viewport {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

struct ScreenLayout {
    ScreenRect window;
    Viewport primaryViewport;
};

// The window is the bounding box of the monitors. Without a usable monitor
// (the list could not be read) the window is the primary screen alone at
// (0, 0), fallbackWidth by fallbackHeight, as on a single-monitor desk. If no
// monitor is flagged primary, the one whose corner is the origin is taken,
// since that is where Windows puts the primary, else the first.
ScreenLayout layoutScreens(const MonitorRect* monitors, std::size_t count, std::int32_t fallbackWidth,
                           std::int32_t fallbackHeight);

// The multi-monitor geometry of Saver mode: the bounding box of the monitors
// and one viewport per monitor inside it.
#include "display/ScreenLayout.h"

#include <algorithm>

namespace {

bool usable(const MonitorRect& monitor) { return monitor.area.width() > 0 && monitor.area.height() > 0; }

}  // namespace

ScreenLayout wholeWindow(std::int32_t width, std::int32_t height) {
    ScreenLayout layout;
    layout.window = {0, 0, width, height};
    layout.viewports[0] = {0, 0, width, height};
    layout.count = 1;
    return layout;
}

ScreenLayout layoutScreens(const MonitorRect* monitors, std::size_t count, std::int32_t fallbackWidth,
                           std::int32_t fallbackHeight) {
    count = std::min(count, MaxMonitors);
    // The primary: the one flagged, else the one whose corner is the origin, else the first.
    const MonitorRect* primary = nullptr;
    for (int pass = 0; pass < 3 && primary == nullptr; ++pass) {
        for (std::size_t i = 0; i < count && primary == nullptr; ++i) {
            const MonitorRect& m = monitors[i];
            const bool origin = m.area.left == 0 && m.area.top == 0;
            if (usable(m) && (pass == 2 || (pass == 0 ? m.primary : origin))) primary = &m;
        }
    }
    if (primary == nullptr) return wholeWindow(fallbackWidth, fallbackHeight);

    ScreenLayout layout;
    layout.window = primary->area;
    for (std::size_t i = 0; i < count; ++i) {
        if (!usable(monitors[i])) continue;
        const ScreenRect& area = monitors[i].area;
        layout.window.left = std::min(layout.window.left, area.left);
        layout.window.top = std::min(layout.window.top, area.top);
        layout.window.right = std::max(layout.window.right, area.right);
        layout.window.bottom = std::max(layout.window.bottom, area.bottom);
    }
    // GL counts rows from the bottom of the window, the screen from the top.
    const auto viewportOf = [&layout](const ScreenRect& r) {
        return Viewport{r.left - layout.window.left, layout.window.bottom - r.bottom, r.width(), r.height()};
    };
    const auto add = [&](const MonitorRect& m) {
        layout.monitorIds[layout.count] = m.id;
        layout.viewports[layout.count++] = viewportOf(m.area);
    };
    add(*primary);
    for (std::size_t i = 0; i < count; ++i) {
        if (&monitors[i] != primary && usable(monitors[i])) add(monitors[i]);
    }
    return layout;
}

ScreenLayout layoutInWindow(const ScreenRect& window, const MonitorRect* monitors, std::size_t count) {
    count = std::min(count, MaxMonitors);
    MonitorRect clipped[MaxMonitors];
    for (std::size_t i = 0; i < count; ++i) {
        const ScreenRect& area = monitors[i].area;
        clipped[i].primary = monitors[i].primary;
        clipped[i].id = monitors[i].id;
        clipped[i].area = {std::max(area.left, window.left) - window.left, std::max(area.top, window.top) - window.top,
                           std::min(area.right, window.right) - window.left,
                           std::min(area.bottom, window.bottom) - window.top};
    }
    ScreenLayout layout = layoutScreens(clipped, count, window.width(), window.height());
    const std::int32_t shiftX = layout.window.left;
    const std::int32_t shiftY = window.height() - layout.window.bottom;
    for (std::size_t i = 0; i < layout.count; ++i) {
        layout.viewports[i].x += shiftX;
        layout.viewports[i].y += shiftY;
    }
    layout.window = {0, 0, window.width(), window.height()};
    return layout;
}

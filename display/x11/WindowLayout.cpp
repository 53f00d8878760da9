// The monitors clipped to the window and laid out as on Windows, then moved
// so that the viewports count from the window's own corner: the monitors
// need not cover the whole window, so their bounding box may lie inside it.
#include "display/x11/WindowLayout.h"

#include <algorithm>

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

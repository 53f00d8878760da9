// The multi-monitor geometry of Saver mode: the bounding box of the monitors
// and the primary monitor's viewport inside it.
#include "display/ScreenLayout.h"

#include <algorithm>

namespace {

const MonitorRect* choosePrimary(const std::vector<MonitorRect>& usable) {
    for (const auto& monitor : usable) {
        if (monitor.primary) return &monitor;
    }
    for (const auto& monitor : usable) {
        if (monitor.area.left == 0 && monitor.area.top == 0) return &monitor;
    }
    return &usable.front();
}

}  // namespace

ScreenLayout layoutScreens(const std::vector<MonitorRect>& monitors, std::int32_t fallbackWidth,
                           std::int32_t fallbackHeight) {
    std::vector<MonitorRect> usable;
    for (const auto& monitor : monitors) {
        if (monitor.area.width() > 0 && monitor.area.height() > 0) usable.push_back(monitor);
    }
    if (usable.empty()) usable.push_back({{0, 0, fallbackWidth, fallbackHeight}, true});

    ScreenLayout layout;
    layout.window = usable.front().area;
    for (const auto& monitor : usable) {
        layout.window.left = std::min(layout.window.left, monitor.area.left);
        layout.window.top = std::min(layout.window.top, monitor.area.top);
        layout.window.right = std::max(layout.window.right, monitor.area.right);
        layout.window.bottom = std::max(layout.window.bottom, monitor.area.bottom);
    }
    const ScreenRect& primary = choosePrimary(usable)->area;
    // GL counts rows from the bottom of the window, the screen from the top.
    layout.primaryViewport = {primary.left - layout.window.left, layout.window.bottom - primary.bottom,
                              primary.width(), primary.height()};
    return layout;
}

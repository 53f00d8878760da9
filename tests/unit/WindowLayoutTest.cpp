// Which part of a handed-over window each monitor's picture takes, rows counted
// from the window's bottom; a window over no monitor is one picture.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "display/ScreenLayout.h"

TEST(WindowLayout, EachPictureSitsWhereItsMonitorCoversTheWindowThePrimarysFirst) {
    const MonitorRect pair[] = {{{0, 0, 640, 480}, false}, {{640, 0, 1440, 600}, true}};
    const MonitorRect inset[] = {{{100, 50, 500, 350}, true}};
    const struct { ScreenRect window; const MonitorRect* monitors; std::size_t count; std::vector<std::array<int, 4>> want; } cases[] = {
        {{0, 0, 1440, 600}, pair, 2, {{640, 0, 800, 600}, {0, 120, 640, 480}}},
        {{640, 0, 1440, 600}, pair, 2, {{0, 0, 800, 600}}},
        {{0, 0, 800, 600}, inset, 1, {{100, 250, 400, 300}}},
        {{0, 100, 1440, 700}, pair, 2, {{640, 100, 800, 500}, {0, 220, 640, 380}}},
        {{2000, 0, 2320, 240}, pair, 2, {{0, 0, 320, 240}}}};
    for (const auto& c : cases) {
        const ScreenLayout layout = layoutInWindow(c.window, c.monitors, c.count);
        ASSERT_EQ(layout.count, c.want.size());
        for (std::size_t i = 0; i < layout.count; ++i) {
            const Viewport& v = layout.viewports[i];
            EXPECT_EQ((std::array<int, 4>{v.x, v.y, v.width, v.height}), c.want[i]) << "window at (" << c.window.left << ", " << c.window.top << "), picture " << i;
        }
    }
}

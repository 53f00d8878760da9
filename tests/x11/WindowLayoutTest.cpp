// Which part of a handed-over window each monitor's picture takes.
#include <gtest/gtest.h>

#include "display/x11/WindowLayout.h"

namespace {

void expectViewport(const Viewport& v, int x, int y, int width, int height) {
    EXPECT_EQ(v.x, x);
    EXPECT_EQ(v.y, y);
    EXPECT_EQ(v.width, width);
    EXPECT_EQ(v.height, height);
}

}  // namespace

// The root window over a secondary left of the primary, of another height:
// the primary's picture first, rows counted from the window's bottom.
TEST(WindowLayout, TheRootWindowGetsAPicturePerMonitorThePrimaryFirst) {
    const MonitorRect monitors[] = {{{0, 0, 640, 480}, false}, {{640, 0, 1440, 600}, true}};
    const ScreenLayout layout = layoutInWindow({0, 0, 1440, 600}, monitors, 2);
    ASSERT_EQ(layout.count, 2u);
    expectViewport(layout.viewports[0], 640, 0, 800, 600);
    expectViewport(layout.viewports[1], 0, 120, 640, 480);
}

// A daemon's window over one monitor only, and a root window larger than the
// monitors: the pictures count from the window's own corner.
TEST(WindowLayout, AWindowTakesOnlyTheMonitorsItCoversFromItsOwnCorner) {
    const MonitorRect monitors[] = {{{0, 0, 640, 480}, true}, {{640, 0, 1440, 600}, false}};
    const ScreenLayout second = layoutInWindow({640, 0, 1440, 600}, monitors, 2);
    ASSERT_EQ(second.count, 1u);
    expectViewport(second.viewports[0], 0, 0, 800, 600);

    const MonitorRect inset[] = {{{100, 50, 500, 350}, true}};
    const ScreenLayout larger = layoutInWindow({0, 0, 800, 600}, inset, 1);
    ASSERT_EQ(larger.count, 1u);
    expectViewport(larger.viewports[0], 100, 250, 400, 300);
    EXPECT_EQ(larger.window.width(), 800);

    const ScreenLayout none = layoutInWindow({2000, 0, 2320, 240}, monitors, 2);
    ASSERT_EQ(none.count, 1u);
    expectViewport(none.viewports[0], 0, 0, 320, 240);
}

// The Saver-mode window over real monitor arrangements: the bounding box, and
// the primary monitor's viewport counted from the window's bottom-left.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "display/ScreenLayout.h"

TEST(ScreenLayout, WindowCoversEveryMonitorAndThePictureStaysOnThePrimary) {
    const ScreenRect hd{0, 0, 1920, 1080};
    const struct Case {
        const char* name;
        std::vector<MonitorRect> monitors;
        ScreenRect window;
        Viewport viewport;
    } cases[] = {
        {"primary above", {{hd, true}, {{0, 1080, 1920, 2280}, false}}, {0, 0, 1920, 2280}, {0, 1200, 1920, 1080}},
        {"portrait beside, reaching above and below",
         {{{-1080, -400, 0, 1520}, false}, {hd, true}}, {-1080, -400, 1920, 1520}, {1080, 440, 1920, 1080}},
        {"three, primary in the middle",
         {{{-1024, 200, 0, 968}, false}, {hd, true}, {{1920, -300, 4480, 1140}, false}},
         {-1024, -300, 4480, 1140}, {1024, 60, 1920, 1080}},
        {"none flagged: the one at the origin",
         {{{-1280, 0, 0, 1024}, false}, {{0, 0, 800, 600}, false}}, {-1280, 0, 800, 1024}, {1280, 424, 800, 600}},
        {"none flagged, none at the origin: the first",
         {{{100, 50, 900, 650}, false}, {{900, 0, 1700, 600}, false}}, {100, 0, 1700, 650}, {0, 0, 800, 600}},
        {"empty rectangles ignored", {{{5, 5, 5, 900}, true}, {hd, false}}, hd, {0, 0, 1920, 1080}},
        {"no monitors: the fallback screen", {}, {0, 0, 1024, 768}, {0, 0, 1024, 768}},
    };
    const auto rect = [](const ScreenRect& r) { return std::make_tuple(r.left, r.top, r.right, r.bottom); };
    const auto view = [](const Viewport& v) { return std::make_tuple(v.x, v.y, v.width, v.height); };
    for (const auto& c : cases) {
        const ScreenLayout layout = layoutScreens(c.monitors.data(), c.monitors.size(), 1024, 768);
        EXPECT_EQ(rect(layout.window), rect(c.window)) << c.name;
        EXPECT_EQ(view(layout.primaryViewport), view(c.viewport)) << c.name;
    }
}

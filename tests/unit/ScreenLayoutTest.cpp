// The Saver-mode window over real monitor arrangements: the bounding box, and
// every monitor's viewport counted from the window's bottom-left, the
// primary's first.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "display/ScreenLayout.h"

TEST(ScreenLayout, WindowCoversEveryMonitorWithTheirPicturesThePrimarysFirst) {
    using View = std::tuple<int, int, int, int>;
    const ScreenRect hd{0, 0, 1920, 1080};
    const struct Case {
        const char* name;
        std::vector<MonitorRect> monitors;
        ScreenRect window;
        std::vector<View> viewports;
    } cases[] = {
        {"primary above", {{hd, true}, {{0, 1080, 1920, 2280}, false}}, {0, 0, 1920, 2280},
         {{0, 1200, 1920, 1080}, {0, 0, 1920, 1200}}},
        {"portrait beside, reaching above and below", {{{-1080, -400, 0, 1520}, false}, {hd, true}},
         {-1080, -400, 1920, 1520}, {{1080, 440, 1920, 1080}, {0, 0, 1080, 1920}}},
        {"three, primary in the middle",
         {{{-1024, 200, 0, 968}, false}, {hd, true}, {{1920, -300, 4480, 1140}, false}},
         {-1024, -300, 4480, 1140}, {{1024, 60, 1920, 1080}, {0, 172, 1024, 768}, {2944, 0, 2560, 1440}}},
        {"none flagged: the one at the origin", {{{-1280, 0, 0, 1024}, false}, {{0, 0, 800, 600}, false}},
         {-1280, 0, 800, 1024}, {{1280, 424, 800, 600}, {0, 0, 1280, 1024}}},
        {"none flagged, none at the origin: the first",
         {{{100, 50, 900, 650}, false}, {{900, 0, 1700, 600}, false}}, {100, 0, 1700, 650},
         {{0, 0, 800, 600}, {800, 50, 800, 600}}},
        {"empty rectangles ignored", {{{5, 5, 5, 900}, true}, {hd, false}}, hd, {{0, 0, 1920, 1080}}},
        {"no monitors: the fallback screen", {}, {0, 0, 1024, 768}, {{0, 0, 1024, 768}}},
    };
    const auto rect = [](const ScreenRect& r) { return std::make_tuple(r.left, r.top, r.right, r.bottom); };
    for (const auto& c : cases) {
        const ScreenLayout layout = layoutScreens(c.monitors.data(), c.monitors.size(), 1024, 768);
        EXPECT_EQ(rect(layout.window), rect(c.window)) << c.name;
        std::vector<View> viewports;
        for (std::size_t i = 0; i < layout.count; ++i) {
            const Viewport& v = layout.viewports[i];
            viewports.emplace_back(v.x, v.y, v.width, v.height);
        }
        EXPECT_EQ(viewports, c.viewports) << c.name;
    }
}

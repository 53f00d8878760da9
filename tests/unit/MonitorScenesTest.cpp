// Several monitors drawn into one window: each shows its own running effect,
// and the primary's picture and particles are those of a single-monitor desk.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "display/MonitorScenes.h"
#include "resources/GlowBitmap.h"
#include "tests/support/OsMesaContext.h"
#include "tests/support/ProcessState.h"

namespace {

struct Desk {
    ScreenLayout layout;
    std::vector<std::vector<std::uint8_t>> pictures;  // each monitor's RGBA, bottom row first
    std::vector<std::vector<Particle>> particles;     // each monitor's pool
};

const std::vector<std::uint8_t> glowFile = glow::makeGlowBitmapFile();
const TextureImage glowImage{64, 64, glowFile.data() + glow::fileHeaderBytes + glow::infoHeaderBytes};

// A fresh process's effect on these monitors, seed 7, after 3 s of 50 ms frames.
Desk drawDesk(const std::vector<MonitorRect>& monitors) {
    resetProcessState();
    Desk desk{layoutScreens(monitors.data(), monitors.size(), 0, 0), {}, {}};
    const OsMesaContext context(desk.layout.window.width(), desk.layout.window.height());
    MonitorScenes scenes(&glowImage, nullptr, 7, desk.layout);
    for (int frame = 1; frame <= 60; ++frame) scenes.update(frame * 0.05f);
    scenes.draw();
    glFinish();
    for (std::size_t m = 0; m < scenes.count(); ++m) {
        const Particle* pool = scenes.scene(m).particles().particles;
        desk.particles.emplace_back(pool, pool + ParticleSystem::PoolSize);
        const Viewport& v = desk.layout.viewports[m];
        desk.pictures.emplace_back();
        for (int y = v.y; y < v.y + v.height; ++y) {
            const std::uint8_t* row = context.pixel(v.x, y);
            desk.pictures.back().insert(desk.pictures.back().end(), row, row + v.width * 4);
        }
    }
    return desk;
}

// Pixels lit blue-cyan, as the glow is: blue leading, with little red.
int glowing(const std::vector<std::uint8_t>& rgba) {
    int count = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        count += rgba[i] + rgba[i + 1] + rgba[i + 2] > 60 && rgba[i + 2] >= rgba[i + 1] && rgba[i + 2] > 2 * rgba[i] + 20;
    }
    return count;
}

// Live slots of b that move exactly as the same slot of a does.
int sameMotions(const std::vector<Particle>& a, const std::vector<Particle>& b) {
    int count = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        count += b[i].isLive() && a[i].velocity.x == b[i].velocity.x && a[i].velocity.y == b[i].velocity.y &&
                 a[i].velocity.z == b[i].velocity.z;
    }
    return count;
}

}  // namespace

// Rounding in GL's viewport transform depends on where the viewport sits, so
// a primary picture away from the window's corner may differ from the lone
// one by one step in a rare edge pixel (one byte in 120,000 here).
TEST(MonitorScenes, EveryMonitorGlowsOnItsOwnAndThePrimaryIsTheSingleMonitorPicture) {
    const ScreenRect primary{0, 0, 200, 150};
    const Desk alone = drawDesk({{primary, true}});
    ASSERT_GT(glowing(alone.pictures[0]), 100);
    // A smaller one to the right; one to the left (negative coordinates); and
    // then also one of the primary's size to its right, reaching below it.
    const std::vector<MonitorRect> layouts[] = {
        {{primary, true}, {{200, 0, 360, 120}, false}},
        {{{-160, 0, 0, 120}, false}, {primary, true}},
        {{{-160, 30, 0, 150}, false}, {primary, true}, {{200, 40, 400, 190}, false}}};
    for (const auto& monitors : layouts) {
        const Desk desk = drawDesk(monitors);
        ASSERT_EQ(desk.pictures.size(), monitors.size());
        const Viewport& v = desk.layout.viewports[0];
        SCOPED_TRACE(testing::Message() << monitors.size() << " monitors, primary at " << v.x << "," << v.y);
        // 500 a second for 3 s, all still alive.
        EXPECT_EQ(sameMotions(alone.particles[0], desk.particles[0]), 1500) << "the primary's particles changed";
        std::size_t differing = 0, furthest = 0;
        for (std::size_t i = 0; i < alone.pictures[0].size(); ++i) {
            const std::size_t apart = std::abs(desk.pictures[0][i] - alone.pictures[0][i]);
            differing += apart != 0;
            furthest = std::max(furthest, apart);
        }
        EXPECT_LE(furthest, 1u);
        EXPECT_LE(differing, v.x == 0 && v.y == 0 ? 0 : alone.pictures[0].size() / 10000);
        for (std::size_t m = 1; m < monitors.size(); ++m) {
            EXPECT_GT(glowing(desk.pictures[m]), 50) << "monitor " << m;
            EXPECT_EQ(sameMotions(desk.particles[0], desk.particles[m]), 0) << "monitor " << m << " copies the primary";
        }
    }
}

// A monitor that stays keeps its scene wherever it is; one that arrives starts afresh then.
TEST(MonitorScenes, ThroughDeskChangesTheMonitorsThatStayKeepTheirScenes) {
    resetProcessState();
    const OsMesaContext context(400, 200);
    const MonitorRect now[] = {{{0, 0, 160, 120}, true, 1}, {{200, 0, 360, 120}}, {{-90, 0, 0, 99}, false, 3},
                               {{360, 0, 400, 99}, false, 2}};
    const MonitorRect before[] = {{{0, 0, 200, 150}, true, 1}, now[1], now[3]};  // the primary at another size
    MonitorScenes scenes(&glowImage, nullptr, 7, layoutScreens(before, 3, 0, 0));
    for (int frame = 1; frame <= 20; ++frame) scenes.update(frame * 0.05);
    const std::tuple<Scene*, Scene*, Scene*> stayed{&scenes.scene(0), &scenes.scene(1), &scenes.scene(2)};
    scenes.relayout(&glowImage, nullptr, layoutScreens(now, 4, 0, 0), 1.0);
    for (const double time : {1.05, 1.1}) scenes.update(time);
    ASSERT_EQ(scenes.count(), 4u);
    EXPECT_EQ(std::tuple(&scenes.scene(0), &scenes.scene(1), &scenes.scene(3)), stayed);  // unnamed: by its place
    EXPECT_EQ(std::tuple(scenes.scene(0).particles().liveCount, scenes.scene(2).particles().liveCount,
                         scenes.scene(3).particles().liveCount), std::tuple(524, 25, 524));
}

// A jump of 10 s, then uneven frames near 60 Hz for 70 s, 0, 24 and 200 hours in: true steps, one motion.
TEST(MonitorScenes, AnEffectHundredsOfHoursIntoARunMovesAsInItsFirstMinute) {
    std::vector<std::vector<std::tuple<float, float, int>>> runs;
    const OsMesaContext context(64, 48);
    for (const double hours : {0, 24, 200}) {
        resetProcessState();
        runs.emplace_back();
        double time = hours * 3600;
        MonitorScenes scenes(&glowImage, nullptr, 7, wholeWindow(64, 48));
        for (int frame = -1; frame < 4200; ++frame) {
            const double step = frame < 0 ? 10 : (frame % 3 ? 16.5 : 17.75) / 1024;  // exact in binary
            const float orbit = orbitAngle;
            scenes.update(time += step);
            runs.back().emplace_back(orbitAngle, bobAngle, scenes.scene(0).particles().liveCount);
            if (frame < 0 || orbitAngle < orbit) continue;  // the jump, or the sweep came round
            ASSERT_NEAR(orbitAngle - orbit, 50 * step, 0.005) << hours << " h, frame " << frame;
        }
    }
    EXPECT_TRUE(runs[1] == runs[0] && runs[2] == runs[0]);
}

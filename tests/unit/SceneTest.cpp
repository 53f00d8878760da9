#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <new>
#include <tuple>
#include <vector>

#include "display/MonitorScenes.h"
#include "particles/Random.h"
#include "resources/GlowBitmap.h"
#include "tests/support/DiamondOracle.h"
#include "tests/support/OsMesaContext.h"
#include "tests/support/ProcessState.h"

namespace {

const std::vector<std::uint8_t> glowFile = glow::makeGlowBitmapFile();
const TextureImage glowImage{64, 64, glowFile.data() + glow::fileHeaderBytes + glow::infoHeaderBytes};

struct Desk {
    ScreenLayout layout;
    std::vector<std::vector<std::uint8_t>> pictures;  // each monitor's RGBA, bottom row first
    std::vector<std::vector<Particle>> particles;     // each monitor's pool
};

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

// Bytes of b more than levels away from the same byte of a.
std::size_t bytesApart(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int levels) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.size(); ++i) count += std::abs(a[i] - b[i]) > levels;
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

// The glow's peak (253 of 255) times the particle's colour is added to black;
// towards a tip the glow fades out, and an overlapping particle adds its light.
TEST(Scene, AParticleShowsAsAGlowOfItsColourAndOverlapsAdd) {
    resetProcessState();
    const OsMesaContext context(320, 200);
    Scene scene(&glowImage, nullptr, 1);
    scene.reshape({0, 0, context.width, context.height});
    Particle* pool = scene.particles().particles;
    for (int slot = 0; slot < ParticleSystem::PoolSize; ++slot) pool[slot].age = -1.0f;
    // Straight ahead of the eye (0, 55, 570) and 100 away, a unit is 1.6 pixels; its opacity is not the colour's
    // fourth value.
    pool[0].age = 0.0f;
    pool[0].position = Vector3(0, 55, 470);
    pool[0].size = 10.0f;
    pool[0].color = Color4{0.25f, 0.5f, 0.75f, 0.125f};
    pool[0].alpha = 1.0f;
    scene.draw();
    glFinish();
    const std::uint8_t* p = context.pixel(160, 100);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(p[c], (c + 1) * 0.25 * 253, 3) << "channel " << c;
    EXPECT_LT(context.pixel(172, 100)[2], 20);  // 8 units along the way to a tip 10 away
    EXPECT_EQ(context.pixel(2, 2)[2], 0);
    const int single = p[1];
    pool[1] = pool[0];  // behind the first and drawn after it
    pool[1].position.z -= 1;
    pool[1].alpha = 0.5f;
    scene.draw();
    glFinish();
    EXPECT_NEAR(p[1], single * 1.5, 3);
    scene.reshape({30, 20, 640, 0});  // a zero height is drawn one pixel high
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, (std::array<GLint, 4>{30, 20, 640, 1}));
}

// The seed starts the generator, and one draw picks the preset. Failures keep
// their text; anything that is no Exception reads "Unknown error".
TEST(Scene, SeedingAndConstructionFailures) {
    resetProcessState();
    const OsMesaContext context(64, 48);
    const Scene seeded(&glowImage, nullptr, 12345);
    EXPECT_EQ(lumra::rand(), 19164);  // the rule's second draw from 12345
    const auto failure = [](auto make) -> std::string {
        try {
            translateConstructionFailure(make);
        } catch (const Exception& e) {
            return e.message();
        }
        return "nothing thrown";
    };
    EXPECT_EQ(failure([] { return Scene(nullptr, nullptr, 1); }), "Failed to load textures");
    EXPECT_EQ(failure([]() -> int { throw std::bad_alloc(); }), "Unknown error");
    EXPECT_EQ(failure([]() -> int { throw Exception(nullptr); }), "Unknown error");
}

// The running effect, some slots killed with their light still in them and
// some just born, at any size and angles, looks as the same particles drawn
// one diamond at a time; no client array is left switched on.
TEST(Scene, SamePictureAsOneDiamondAtATime) {
    resetProcessState();
    for (const auto& [w, h, seed] : {std::tuple{200, 150, 3u}, {1024, 768, 1u}, {1920, 1080, 8u}}) {
        const OsMesaContext context(w, h);
        Scene scene(&glowImage, nullptr, seed);
        scene.reshape({0, 0, w, h});
        for (int frame = 1; frame <= 150; ++frame) scene.update(frame * 0.05f);
        Particle* pool = scene.particles().particles;
        for (int slot = 0; slot + 1 < ParticleSystem::PoolSize; slot += 7) {
            pool[slot].age = -1.0f;
            pool[slot + 1].age = 0.0f;
        }
        for (const Vector3& angles : {Vector3(20, 0, 0), Vector3(-35, 130, 75)}) {
            scene.draw();
            glFinish();
            const std::vector<std::uint8_t> drawn = context.buffer;
            for (GLenum array : {GL_VERTEX_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY})
                EXPECT_FALSE(glIsEnabled(array)) << "client array 0x" << std::hex << array << " left switched on";
            scene.prepareFrame();
            glLoadIdentity();
            glTranslatef(0, -55, -570);
            drawDiamondsOneByOne(scene.particles(), angles);
            glFinish();
            EXPECT_LE(bytesApart(drawn, context.buffer, 2), drawn.size() / 10000)
                << "bytes more than 2 levels apart at " << w << "x" << h << ", angles " << angles.x << " " << angles.y
                << " " << angles.z;
            scene.particles().camera.angles = Vector3(-35, 130, 75);
        }
    }
}

// Every monitor's viewport is counted from the window's bottom-left, the
// primary's first.
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
        EXPECT_EQ(bytesApart(desk.pictures[0], alone.pictures[0], 1), 0u);
        EXPECT_LE(bytesApart(desk.pictures[0], alone.pictures[0], 0),
                  v.x == 0 && v.y == 0 ? 0 : alone.pictures[0].size() / 10000);
        for (std::size_t m = 1; m < monitors.size(); ++m) {
            EXPECT_GT(glowing(desk.pictures[m]), 50) << "monitor " << m;
            EXPECT_EQ(sameMotions(desk.particles[0], desk.particles[m]), 0) << "monitor " << m << " copies the primary";
        }
    }
}

// A monitor that stays keeps its scene wherever it is; one that arrives starts afresh then; one that leaves takes
// its scene with it. Where no monitor is now, what the old layout drew is cleared in both buffers of the swap.
TEST(MonitorScenes, ThroughDeskChangesTheMonitorsThatStayKeepTheirScenes) {
    resetProcessState();
    const OsMesaContext context(490, 150);
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
    // Counted before the update emits: 1.05 s at 500 a second, 525, less the one the float steps leave in the carry.
    EXPECT_EQ(std::tuple(scenes.scene(0).particles().liveCount, scenes.scene(2).particles().liveCount,
                         scenes.scene(3).particles().liveCount), std::tuple(524, 25, 524));
    for (int frame = 0; frame < 2; ++frame) {
        glScissor(0, 0, context.width, context.height);
        glClearColor(1, 1, 1, 1);  // what an old layout left in this buffer of the two
        glClear(GL_COLOR_BUFFER_BIT);
        glClearColor(0, 0, 0, 0);
        scenes.draw();
        glFinish();
        const std::uint8_t* below = context.pixel(470, 10);  // under the monitor named 2, beyond the old window
        EXPECT_EQ(std::vector<int>(below, below + 4), std::vector<int>(4, 0)) << "new layout, frame " << frame;
    }
    const MonitorRect after[] = {now[0], now[3]};
    scenes.relayout(&glowImage, nullptr, layoutScreens(after, 2, 0, 0), 1.1);
    EXPECT_EQ(std::tuple(scenes.count(), &scenes.scene(1)), std::tuple(2u, std::get<2>(stayed)));
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
            const std::size_t seen = runs.back().size() - 1;  // orbit, bob and live count as in the first run
            ASSERT_EQ(runs.back()[seen], runs.front()[seen]) << hours << " h, frame " << frame;
            if (frame < 0 || orbitAngle < orbit) continue;  // the jump, or the sweep came round
            ASSERT_NEAR(orbitAngle - orbit, 50 * step, 0.005) << hours << " h, frame " << frame;
        }
    }
}
